#include "components/printjob/PrintJobStarter.h"

#include "components/printjob/SpoolData.h"
#include "platform/core/CopyData.h"
#include "platform/core/LastError.h"
#include "platform/core/NamedEvent.h"
#include "platform/core/NamedMutex.h"
#include "platform/core/NamedSharedMemory.h"
#include "platform/core/SpoolJobs.h"
#include "platform/core/Spooler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <cerrno>
#include <cstring>

namespace printjob {
namespace {

// The job block as the converter reads it; offsets are fixed by the hand-over.
constexpr qsizetype kBlockSize = 3124;
constexpr qsizetype kPrinterNameAt = 0;
constexpr qsizetype kJobIdAt = 520;
constexpr qsizetype kNotifyWindowAt = 524;
constexpr qsizetype kOutputPathAt = 528;
constexpr qsizetype kDocumentNameAt = 2576;
constexpr qsizetype kPageOptionAt = 3096;
constexpr qsizetype kDocumentOptionsAt = 3100;

constexpr unsigned kProgressDone = 4;
constexpr unsigned kProgressAbort = 5;

const QString kSharedMemoryName = QStringLiteral("Global\\SHMEM{9B63F701-A616-4994-A99A-EB38719733A1}");
const QString kEventName = QStringLiteral("Global\\EVENT{9B63F701-A616-4994-A99A-EB38719733A1}");
const QString kTurnMutexName = QStringLiteral("Global\\MUTEX{9B63F701-A616-4994-A99A-EB38719733A1}");
const QString kConverterFile = QStringLiteral("KVXE2PPRCONV.exe");

void putText(char* block, qsizetype at, qsizetype units, const QString& text)
{
    const qsizetype length = std::min(text.size(), units - 1);
    std::memcpy(block + at, text.utf16(), size_t(length) * 2);
    std::memset(block + at + length * 2, 0, size_t(units - length) * 2);
}

void putU32(char* block, qsizetype at, quint32 value) { qToLittleEndian(value, block + at); }

QString errorText()
{
    QString text;
    platform::SystemErrorText(platform::GetLastError(), &text);
    return text;
}

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void say(QTextStream& err, const QString& text)
{
    err << "kvx-printjob: " << text << '\n';
    err.flush();
}

void removeJob(quint32 jobId)
{
    platform::PrinterHandle printer = nullptr;
    if (!platform::OpenPrinter(PrinterName(), &printer, nullptr))
        return;
    platform::SetJob(printer, jobId, 0, nullptr, platform::JOB_CONTROL_DELETE); // gone already is fine
    platform::ClosePrinter(printer);
}

// The hand-over objects, made while this starter holds its turn. Leftovers of a starter
// that died are in the way then (a live one would hold the turn) and are cleared.
template <typename Object, typename... Size>
bool createOwned(Object& object, const QString& name, Size... size)
{
    if (object.create(name, size...))
        return true;
    return object.lastError() == EEXIST && Object::remove(name) && object.create(name, size...);
}

void fillBlock(char* block, quint32 jobId, quint32 notifyWindow, const StartOptions& options)
{
    putText(block, kPrinterNameAt, 260, PrinterName());
    putU32(block, kJobIdAt, jobId);
    putU32(block, kNotifyWindowAt, notifyWindow);
    putText(block, kOutputPathAt, 1024, options.outputPath);
    putText(block, kDocumentNameAt, 260, options.documentName);
    putU32(block, kPageOptionAt, 0);
    // The transcoder takes the first document option as the number of pages to expect.
    putU32(block, kDocumentOptionsAt, options.pageCount);
    for (int i = 1; i < 6; ++i)
        putU32(block, kDocumentOptionsAt + 4 * i, 0);
}

} // namespace

QString PrinterName() { return QStringLiteral("Corvel PDF"); }

QString InstalledConverterPath(QTextStream& err)
{
    platform::PrinterHandle printer = nullptr;
    if (!platform::OpenPrinter(PrinterName(), &printer, nullptr)) {
        say(err, "the printer \"" + PrinterName() + "\" is not installed: " + errorText() + " (see pdfsetup)");
        return {};
    }
    platform::DriverInfo6 driver;
    const bool known = platform::GetPrinterDriver(printer, QString(), &driver);
    platform::ClosePrinter(printer);
    if (known) {
        for (const QString& file : driver.dependentFiles) {
            if (QFileInfo(file).fileName() == kConverterFile && QFileInfo(file).isExecutable())
                return file;
        }
    }
    say(err, "the driver of \"" + PrinterName() + "\" has no converter " + kConverterFile
            + " installed (reinstall the printer with pdfsetup)");
    return {};
}

quint32 QueuePrintJob(const QString& documentName, const PageSource& pages, quint32* pageCount, QTextStream& err)
{
    *pageCount = 0;
    platform::SpoolJobWriter job;
    if (!job.begin(PrinterName(), documentName)) {
        say(err, "cannot queue the job on \"" + PrinterName() + "\": " + errorText()
                + " (is the printer installed? see pdfsetup)");
        return 0;
    }
    QByteArray opening = SpoolOpening(documentName);
    quint64 at = quint64(opening.size());
    bool written = job.write(opening);
    QByteArray metafile;
    QString problem;
    while (written && pages(&metafile, &problem)) {
        const QByteArray records = SpoolPage(metafile, at);
        at += quint64(records.size());
        written = job.write(records);
        ++*pageCount;
    }
    if (!problem.isEmpty()) {
        say(err, problem);
        return 0; // the writer removes the half-spooled job
    }
    const quint32 jobId = written ? job.commit(*pageCount) : 0;
    if (jobId == 0)
        say(err, "cannot spool the job on \"" + PrinterName() + "\": " + errorText());
    return jobId;
}

int StartPrintJob(StartOptions options, const PageSource& pages, QTextStream& out, QTextStream& err)
{
    const quint32 jobId = QueuePrintJob(options.documentName, pages, &options.pageCount, err);
    return jobId == 0 ? ExitFailed : ConvertPrintJob(jobId, options, out, err);
}

int ConvertPrintJob(quint32 jobId, const StartOptions& options, QTextStream& out, QTextStream& err)
{
    // Whatever happens below, the job does not stay queued: the converter deletes it when it
    // has it, and this removes it when it never got that far.
    struct JobRemoval {
        quint32 id;
        ~JobRemoval() { removeJob(id); }
    } removal {jobId};

    if (options.outputPath.size() > kMaxOutputPathUnits) {
        say(err, "the output path is longer than " + QString::number(kMaxOutputPathUnits)
                + " characters, more than the job can hold");
        return ExitFailed;
    }

    platform::CopyDataReceiver receiver;
    if (!receiver.listen()) {
        say(err, "cannot listen for the converter's notifications");
        return ExitFailed;
    }
    int result = ExitFailed;
    bool finished = false;
    receiver.setHandler([&](const platform::CopyDataMessage& message) {
        quint32 fields[5] = {};
        if (message.bytes.size() == qsizetype(sizeof fields))
            std::memcpy(fields, message.bytes.constData(), sizeof fields);
        out << "NOTIFY " << message.dataWord << ' ' << qFromLittleEndian(fields[0]) << ' '
            << qFromLittleEndian(fields[1]) << ' ' << qFromLittleEndian(fields[4]) << '\n';
        out.flush();
        if (message.dataWord == kProgressDone && !finished) {
            result = ExitDone;
            finished = true;
        } else if (message.dataWord == kProgressAbort && !finished) {
            result = ExitFailed;
            finished = true;
        }
        return qint64(1);
    });

    platform::NamedMutex turn;
    if (!turn.lock(kTurnMutexName, options.turnTimeoutMs)) {
        say(err, "another print job is still being handed over: " + errnoText(turn.lastError()));
        return ExitFailed;
    }
    platform::NamedSharedMemory mapping;
    platform::NamedEvent taken;
    if (!createOwned(mapping, kSharedMemoryName, std::size_t(kBlockSize))) {
        say(err, "cannot create the job block: " + errnoText(mapping.lastError()));
        return ExitFailed;
    }
    if (!createOwned(taken, kEventName)) {
        say(err, "cannot create the hand-over event: " + errnoText(taken.lastError()));
        return ExitFailed;
    }
    fillBlock(static_cast<char*>(mapping.data()), jobId, receiver.handle(), options);

    QProcess converter;
    converter.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(&converter, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&converter, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    converter.start(options.converterPath,
                    {options.mode == ConvertMode::Silent ? QStringLiteral("/X") : QStringLiteral("/S")});
    if (!converter.waitForStarted(options.handOverTimeoutMs)) {
        say(err, "cannot start " + options.converterPath + ": " + converter.errorString());
        return ExitFailed;
    }

    // The block may go as soon as the converter says it has its copy; then the next
    // starter may take its turn.
    const QDeadlineTimer deadline(options.handOverTimeoutMs);
    bool handedOver = false;
    while (!handedOver && converter.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        handedOver = taken.wait(50);
        QCoreApplication::processEvents();
    }
    if (!handedOver)
        handedOver = taken.wait(0);
    if (!handedOver && converter.state() != QProcess::NotRunning) {
        say(err, "the converter did not take the job");
        converter.kill(); // it would otherwise read the next starter's block
        converter.waitForFinished(-1);
    }
    mapping.close();
    taken.close();
    turn.unlock();

    if (converter.state() != QProcess::NotRunning)
        loop.exec();
    converter.waitForFinished(-1);

    if (options.mode == ConvertMode::SaveAs)
        return converter.exitStatus() == QProcess::NormalExit && converter.exitCode() == 0 ? ExitDone : ExitFailed;
    return result;
}

} // namespace printjob
