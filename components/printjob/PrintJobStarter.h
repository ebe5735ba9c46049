#pragma once
// Hands one print job of the "Corvel PDF" printer to the converter, as the printer's port
// monitor does: spools the pages as a job, writes the job block into the named shared
// memory, starts the converter the printer's driver installed, waits until it has taken
// the block, and listens for the notifications it relays in silent mode.
//
// Starters take turns: each holds a machine-wide named mutex from creating the block until
// its converter has taken it, so two jobs started at once never meet in the block.
#include <QByteArray>
#include <QString>
#include <QTextStream>

#include <functional>

namespace printjob {

enum class ConvertMode { Silent, SaveAs };

struct StartOptions {
    ConvertMode mode = ConvertMode::Silent;
    QString outputPath;   // absolute
    QString documentName;
    QString converterPath; // the KVXE2PPRCONV program; see InstalledConverterPath
    quint32 pageCount = 0; // announced to the transcoder; StartPrintJob fills it in
    int handOverTimeoutMs = 30000;
    int turnTimeoutMs = 120000; // how long to wait for other starters' hand-overs
};

enum ExitCode { ExitDone = 0, ExitFailed = 1, ExitUsage = 2 };

// Gives the next page's enhanced metafile; false after the last page, or on failure with
// a message in *problem.
using PageSource = std::function<bool(QByteArray* metafile, QString* problem)>;

QString PrinterName(); // "Corvel PDF"

// The longest output path the job block holds (UTF-16 units, without the terminator).
constexpr qsizetype kMaxOutputPathUnits = 1023;

// The converter pdfsetup installed with the printer's driver; empty with a message in err
// when the printer or its converter is not installed.
QString InstalledConverterPath(QTextStream& err);

// Spools the pages one at a time as a job of the printer; returns the job id (and the
// number of pages in *pageCount), or 0 with a message in err. Nothing stays queued on failure.
quint32 QueuePrintJob(const QString& documentName, const PageSource& pages, quint32* pageCount, QTextStream& err);

// Hands a queued job to the converter and follows it to its end; see StartPrintJob. The
// job is removed from the queue however this ends.
int ConvertPrintJob(quint32 jobId, const StartOptions& options, QTextStream& out, QTextStream& err);

// Queues the job and hands it over. Each relayed notification is written to out as
// "NOTIFY <kind> <total> <current> <percent>"; problems go to err. Returns ExitDone when
// the converter reported PROGRESS_DONE, ExitFailed otherwise. In save-as mode nothing is
// relayed: the result is the converter's own exit.
int StartPrintJob(StartOptions options, const PageSource& pages, QTextStream& out, QTextStream& err);

} // namespace printjob
