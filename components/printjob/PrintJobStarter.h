#pragma once
// Hands one print job of the "Corvel PDF" printer to the converter, as the printer's port
// monitor does: queues the pages as a spool job, writes the job block into the named
// shared memory, starts KVXE2PPRCONV, waits until it has taken the block, and listens for
// the notifications it relays in silent mode.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextStream>

namespace printjob {

enum class ConvertMode { Silent, SaveAs };

struct StartOptions {
    ConvertMode mode = ConvertMode::Silent;
    QString outputPath;   // absolute
    QString documentName;
    QList<QByteArray> pages; // one enhanced metafile per page
    QString converterPath;   // the KVXE2PPRCONV program
    int handOverTimeoutMs = 30000;
};

enum ExitCode { ExitDone = 0, ExitFailed = 1, ExitUsage = 2 };

QString PrinterName(); // "Corvel PDF"

// Queues the pages as a job of the printer; returns the job id, or 0 with a message in err.
quint32 QueuePrintJob(const StartOptions& options, QTextStream& err);

// Hands a queued job to the converter and follows it to its end; see StartPrintJob.
int ConvertPrintJob(quint32 jobId, const StartOptions& options, QTextStream& out, QTextStream& err);

// Queues the job and hands it over. Each relayed notification is written to out as
// "NOTIFY <kind> <total> <current> <percent>"; problems go to err. Returns ExitDone when
// the converter reported PROGRESS_DONE, ExitFailed otherwise. In save-as mode nothing is
// relayed: the result is the converter's own exit.
int StartPrintJob(const StartOptions& options, QTextStream& out, QTextStream& err);

} // namespace printjob
