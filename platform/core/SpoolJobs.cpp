#include "platform/core/SpoolJobs.h"

#include "platform/core/LastError.h"
#include "platform/core/Spooler.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QSysInfo>

#include <memory>

#include <algorithm>
#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

QString recordPath(const QString& printerName, quint32 jobId)
{
    return SpoolJobFolder(printerName) + QLatin1Char('/') + QString::number(jobId) + QStringLiteral(".job");
}

QString currentUser()
{
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

bool writeRecord(const QString& printerName, const JobInfo1& job)
{
    QJsonObject object;
    object.insert(QStringLiteral("document"), job.document);
    object.insert(QStringLiteral("user"), job.userName);
    object.insert(QStringLiteral("machine"), job.machineName);
    object.insert(QStringLiteral("status"), qint64(job.status));
    object.insert(QStringLiteral("totalPages"), qint64(job.totalPages));
    object.insert(QStringLiteral("submitted"), job.submitted.toUTC().toString(Qt::ISODateWithMs));
    QSaveFile file(recordPath(printerName, job.jobId));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(object).toJson());
    return file.commit();
}

// False (with the last error set) when the job is not known.
bool readRecord(const QString& printerName, quint32 jobId, JobInfo1* job)
{
    QFile file(recordPath(printerName, jobId));
    if (jobId == 0 || !QFile::exists(SpoolJobFile(printerName, jobId)) || !file.open(QIODevice::ReadOnly)) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    job->jobId = jobId;
    job->printerName = printerName;
    job->document = object.value(QStringLiteral("document")).toString();
    job->userName = object.value(QStringLiteral("user")).toString();
    job->machineName = object.value(QStringLiteral("machine")).toString();
    job->dataType = QStringLiteral("NT EMF 1.008");
    job->status = quint32(object.value(QStringLiteral("status")).toInteger());
    job->totalPages = quint32(object.value(QStringLiteral("totalPages")).toInteger());
    job->submitted = QDateTime::fromString(object.value(QStringLiteral("submitted")).toString(), Qt::ISODateWithMs);
    return true;
}

quint32 recordSize(const JobInfo1& job)
{
    // As the Win32 record counts it: the fixed part and every text with its terminator.
    const QString texts[] = {job.printerName, job.machineName, job.userName, job.document, job.dataType, job.statusText};
    quint32 size = 64;
    for (const QString& text : texts)
        size += quint32(text.size() + 1) * 2;
    return size;
}

QList<quint32> jobIds(const QString& printerName)
{
    QList<quint32> ids;
    const QStringList files = QDir(SpoolJobFolder(printerName)).entryList({QStringLiteral("*.spl")}, QDir::Files);
    for (const QString& file : files) {
        bool ok = false;
        const quint32 id = file.chopped(4).toUInt(&ok);
        if (ok && id != 0)
            ids.append(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool checkHandle(PrinterHandle handle)
{
    if (!IsLivePrinterHandle(handle)) {
        SetLastError(ErrorInvalidHandle);
        return false;
    }
    return true;
}

} // namespace

SpoolJobWriter::~SpoolJobWriter() { cancel(); }

bool SpoolJobWriter::begin(const QString& printerName, const QString& documentName)
{
    cancel();
    PrinterHandle printer = nullptr;
    if (!OpenPrinter(printerName, &printer, nullptr))
        return false;
    const QString storedName = printer->printerName;
    ClosePrinter(printer);

    const QString folder = SpoolJobFolder(storedName);
    if (!QDir().mkpath(folder)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    // Job ids are handed out once per printer, also to queues filled at the same time.
    QLockFile lock(folder + QStringLiteral("/.jobs.lock"));
    if (!lock.lock()) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    QFile counter(folder + QStringLiteral("/.next-job"));
    quint32 jobId = 1;
    if (counter.open(QIODevice::ReadOnly))
        jobId = std::max<quint32>(1, counter.readAll().trimmed().toUInt());
    counter.close();
    const QList<quint32> existing = jobIds(storedName);
    if (!existing.isEmpty())
        jobId = std::max(jobId, existing.constLast() + 1);

    m_job = JobInfo1{};
    m_job.jobId = jobId;
    m_job.printerName = storedName;
    m_job.document = documentName;
    m_job.userName = currentUser();
    m_job.machineName = QSysInfo::machineHostName();
    m_job.status = JOB_STATUS_SPOOLING;
    m_job.submitted = QDateTime::currentDateTimeUtc();

    m_spool = std::make_unique<QFile>(SpoolJobFile(storedName, jobId));
    if (!m_spool->open(QIODevice::WriteOnly | QIODevice::NewOnly) || !writeRecord(storedName, m_job)) {
        cancel();
        SetLastError(ErrorDiskFull);
        return false;
    }
    if (counter.open(QIODevice::WriteOnly | QIODevice::Truncate))
        counter.write(QByteArray::number(jobId + 1));
    SetLastError(ErrorSuccess);
    return true;
}

bool SpoolJobWriter::write(const QByteArray& data)
{
    if (!m_spool || m_spool->write(data) != data.size()) {
        cancel();
        SetLastError(ErrorDiskFull);
        return false;
    }
    return true;
}

quint32 SpoolJobWriter::commit(quint32 totalPages, quint32 status)
{
    if (!m_spool || !m_spool->flush()) {
        cancel();
        SetLastError(ErrorDiskFull);
        return 0;
    }
    m_spool->close();
    m_job.status = status;
    m_job.totalPages = totalPages;
    if (!writeRecord(m_job.printerName, m_job)) {
        cancel();
        SetLastError(ErrorDiskFull);
        return 0;
    }
    m_spool.reset();
    SetLastError(ErrorSuccess);
    return m_job.jobId;
}

void SpoolJobWriter::cancel()
{
    if (!m_spool)
        return;
    m_spool->close();
    m_spool.reset();
    QFile::remove(SpoolJobFile(m_job.printerName, m_job.jobId));
    QFile::remove(recordPath(m_job.printerName, m_job.jobId));
}

quint32 AddSpoolJob(const QString& printerName, const QString& documentName, const QByteArray& data,
                    quint32 totalPages, quint32 status)
{
    SpoolJobWriter writer;
    if (!writer.begin(printerName, documentName) || !writer.write(data))
        return 0;
    return writer.commit(totalPages, status);
}

bool ReadPrinter(PrinterHandle handle, void* buffer, quint32 size, quint32* read)
{
    if (read)
        *read = 0;
    if (!checkHandle(handle))
        return false;
    if (handle->jobId == 0 || !buffer || !read) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    if (!handle->jobStream) {
        auto file = std::make_unique<QFile>(SpoolJobFile(handle->printerName, handle->jobId));
        if (!file->open(QIODevice::ReadOnly)) {
            SetLastError(ErrorFileNotFound);
            return false;
        }
        handle->jobStream = std::move(file);
    }
    const qint64 got = handle->jobStream->read(static_cast<char*>(buffer), size);
    if (got < 0) {
        SetLastError(ErrorReadFault);
        return false;
    }
    *read = quint32(got);
    SetLastError(ErrorSuccess);
    return true;
}

bool GetJob(PrinterHandle handle, quint32 jobId, quint32 level, JobInfo1* info, quint32 bufferSize, quint32* needed)
{
    if (needed)
        *needed = 0;
    if (!checkHandle(handle))
        return false;
    if (level != 1) {
        SetLastError(ErrorInvalidLevel);
        return false;
    }
    JobInfo1 job;
    if (!readRecord(handle->printerName, jobId, &job))
        return false;
    const QList<quint32> ids = jobIds(handle->printerName);
    job.position = quint32(ids.indexOf(jobId) + 1);
    const quint32 size = recordSize(job);
    if (needed)
        *needed = size;
    if (!info || bufferSize < size) {
        SetLastError(ErrorInsufficientBuffer);
        return false;
    }
    *info = job;
    SetLastError(ErrorSuccess);
    return true;
}

bool SetJob(PrinterHandle handle, quint32 jobId, quint32 level, const JobInfo1* /*info*/, quint32 command)
{
    if (!checkHandle(handle))
        return false;
    if (level != 0) {
        SetLastError(ErrorInvalidLevel);
        return false;
    }
    JobInfo1 job;
    if (!readRecord(handle->printerName, jobId, &job))
        return false;
    switch (command) {
    case JOB_CONTROL_DELETE:
    case JOB_CONTROL_CANCEL:
        // An open reader keeps its file: on Linux the data stays readable until it closes.
        QFile::remove(SpoolJobFile(handle->printerName, jobId));
        QFile::remove(recordPath(handle->printerName, jobId));
        break;
    case JOB_CONTROL_PAUSE:
        job.status |= JOB_STATUS_PAUSED;
        writeRecord(handle->printerName, job);
        break;
    case JOB_CONTROL_RESUME:
        job.status &= ~quint32(JOB_STATUS_PAUSED);
        writeRecord(handle->printerName, job);
        break;
    case JOB_CONTROL_RESTART:
        break;
    default:
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    SetLastError(ErrorSuccess);
    return true;
}

bool EnumJobs(PrinterHandle handle, QList<JobInfo1>* jobs)
{
    if (!checkHandle(handle))
        return false;
    if (!jobs) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    jobs->clear();
    const QList<quint32> ids = jobIds(handle->printerName);
    for (quint32 id : ids) {
        JobInfo1 job;
        if (readRecord(handle->printerName, id, &job)) {
            job.position = quint32(jobs->size() + 1);
            jobs->append(job);
        }
    }
    SetLastError(ErrorSuccess);
    return true;
}

} // namespace platform
