#include "components/printjob/PrintJobStarter.h"

#include "components/printjob/SpoolData.h"
#include "platform/core/CopyData.h"
#include "platform/core/LastError.h"
#include "platform/core/NamedEvent.h"
#include "platform/core/NamedSharedMemory.h"
#include "platform/core/SpoolJobs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QtEndian>

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

} // namespace

QString PrinterName() { return QStringLiteral("Corvel PDF"); }

quint32 QueuePrintJob(const StartOptions& options, QTextStream& err)
{
    const QByteArray spool = MakeSpoolData(options.documentName, options.pages);
    const quint32 jobId = platform::AddSpoolJob(PrinterName(), options.documentName, spool,
                                                quint32(options.pages.size()));
    if (jobId == 0) {
        err << "kvx-printjob: cannot queue the job on \"" << PrinterName() << "\": " << errorText()
            << " (is the printer installed? see pdfsetup)\n";
        err.flush();
    }
    return jobId;
}

int StartPrintJob(const StartOptions& options, QTextStream& out, QTextStream& err)
{
    const quint32 jobId = QueuePrintJob(options, err);
    return jobId == 0 ? ExitFailed : ConvertPrintJob(jobId, options, out, err);
}

int ConvertPrintJob(quint32 jobId, const StartOptions& options, QTextStream& out, QTextStream& err)
{
    platform::CopyDataReceiver receiver;
    if (!receiver.listen()) {
        err << "kvx-printjob: cannot listen for the converter's notifications\n";
        err.flush();
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

    platform::NamedSharedMemory mapping;
    platform::NamedEvent taken;
    if (!mapping.create(kSharedMemoryName, kBlockSize) || !taken.create(kEventName)) {
        err << "kvx-printjob: cannot create the job hand-over objects: "
            << QString::fromLocal8Bit(std::strerror(mapping.lastError() ? mapping.lastError() : taken.lastError()))
            << '\n';
        err.flush();
        return ExitFailed;
    }
    char* block = static_cast<char*>(mapping.data());
    putText(block, kPrinterNameAt, 260, PrinterName());
    putU32(block, kJobIdAt, jobId);
    putU32(block, kNotifyWindowAt, receiver.handle());
    putText(block, kOutputPathAt, 1024, options.outputPath);
    putText(block, kDocumentNameAt, 260, options.documentName);
    putU32(block, kPageOptionAt, 0);
    // The transcoder takes the first document option as the number of pages to expect.
    putU32(block, kDocumentOptionsAt, quint32(options.pages.size()));
    for (int i = 1; i < 6; ++i)
        putU32(block, kDocumentOptionsAt + 4 * i, 0);

    QProcess converter;
    converter.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(&converter, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&converter, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    converter.start(options.converterPath, {options.mode == ConvertMode::Silent ? QStringLiteral("/X") : QStringLiteral("/S")});
    if (!converter.waitForStarted(options.handOverTimeoutMs)) {
        err << "kvx-printjob: cannot start " << options.converterPath << ": " << converter.errorString() << '\n';
        err.flush();
        return ExitFailed;
    }

    // The block may go as soon as the converter says it has its copy.
    const QDeadlineTimer deadline(options.handOverTimeoutMs);
    bool handedOver = false;
    while (!handedOver && converter.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        handedOver = taken.wait(50);
        QCoreApplication::processEvents();
    }
    if (!handedOver)
        handedOver = taken.wait(0);
    mapping.close();
    taken.close();
    if (!handedOver) {
        err << "kvx-printjob: the converter did not take the job\n";
        err.flush();
    }

    if (converter.state() != QProcess::NotRunning)
        loop.exec();
    converter.waitForFinished(-1);

    if (options.mode == ConvertMode::SaveAs)
        return converter.exitStatus() == QProcess::NormalExit && converter.exitCode() == 0 ? ExitDone : ExitFailed;
    return result;
}

} // namespace printjob
