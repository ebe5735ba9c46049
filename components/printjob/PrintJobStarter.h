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

// Runs the whole hand-over. Each relayed notification is written to out as
// "NOTIFY <kind> <total> <current> <percent>"; problems go to err. Returns ExitDone when
// the converter reported PROGRESS_DONE, ExitFailed otherwise. In save-as mode nothing is
// relayed: the result is the converter's own exit.
int StartPrintJob(const StartOptions& options, QTextStream& out, QTextStream& err);

} // namespace printjob
