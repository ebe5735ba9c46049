// KVXE2PPRCONV: converts one print job of the "Corvel PDF" printer into a PDF.
#include "pdfprinter/converter/PrinterConverterApp.h"
#include "pdfprinter/converter/StopSignals.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ProgramInfo.h"
#include "platform/ui/QtMessageBoxes.h"
#include "platform/ui/QtTranslations.h"

#include <QApplication>

#include <malloc.h>

namespace {

const char kHelp[] =
    "Usage: KVXE2PPRCONV /X | /S\n"
    "       KVXE2PPRCONV --help | --version\n"
    "\n"
    "Converts one print job of the \"Corvel PDF\" printer into a PDF. The job block is taken\n"
    "from the named shared memory that the print-job starter (kvx-printjob) made.\n"
    "  /X  silent: no window, progress relayed to the starter\n"
    "  /S  asks where to save and shows its progress window\n"
    "Without a switch only the empty window shows.\n"
    "KVX_MESSAGE_BOXES=stderr writes its message boxes to stderr instead of showing them.\n"
    "Exit status: 0 when the PDF was made (or no job was asked for), 1 otherwise.\n";

} // namespace

int main(int argc, char** argv)
{
    // The PDF writer builds every page in a buffer of a few hundred kilobytes and frees it
    // at the next page. Mapped afresh and handed back to the system each time, it cost a
    // third of a text page's time in page faults; kept in the heap it is reused, and the
    // peak stays what the largest page needs.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    if (platform::AnswerInfoRequest(argc, argv, "KVXE2PPRCONV", kHelp))
        return 0;
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    // The save dialog and the message boxes' buttons follow the Korean texts.
    platform::InstallQtTranslations();

    // Boxes are dialogs; KVX_MESSAGE_BOXES=stderr writes them to stderr instead, for runs
    // that nobody watches.
    platform::QtMessageBoxes dialogs;
    platform::StderrMessageBoxes console;
    platform::ScopedMessageBoxBackend boxes(qEnvironmentVariable("KVX_MESSAGE_BOXES") == QLatin1String("stderr")
                                                ? static_cast<platform::MessageBoxBackend*>(&console)
                                                : &dialogs);

    CPrinterConverterApp app;
    const CStopSignals stop([&app] { app.RequestStop(); });
    app.InitInstance(QApplication::arguments().mid(1));
    // 0 when a job became a PDF (or the window ran without a job), 1 otherwise.
    return app.Converted() || app.CommandLine().m_nConvertMode == CommandLineInfoEx::MODE_DEFAULT ? 0 : 1;
}
