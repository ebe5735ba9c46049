// KVXE2PPRCONV: converts one print job of the "Corvel PDF" printer into a PDF.
#include "pdfprinter/converter/PrinterConverterApp.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/QtMessageBoxes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);

    // Boxes are dialogs; KVX_MESSAGE_BOXES=stderr writes them to stderr instead, for runs
    // that nobody watches.
    platform::QtMessageBoxes dialogs;
    platform::StderrMessageBoxes console;
    platform::ScopedMessageBoxBackend boxes(qEnvironmentVariable("KVX_MESSAGE_BOXES") == QLatin1String("stderr")
                                                ? static_cast<platform::MessageBoxBackend*>(&console)
                                                : &dialogs);

    CPrinterConverterApp app;
    app.InitInstance(QApplication::arguments().mid(1));
    // 0 when a job became a PDF (or the window ran without a job), 1 otherwise.
    return app.Converted() || app.CommandLine().m_nConvertMode == CommandLineInfoEx::MODE_DEFAULT ? 0 : 1;
}
