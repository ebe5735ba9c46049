// pdfsetup: installs (/i, /s /<folder>), reinstalls (/r) or removes (/u) the "Corvel PDF"
// printer. It shows nothing, logs to PrinterSetup.log in the temporary folder and always
// ends with status 1.
#include "pdfprinter/setup/PrinterSetup.h"
#include "pdfprinter/setup/SetupCommandLine.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CSetupCommandLine commandLine;
    commandLine.Parse(QCoreApplication::arguments().mid(1));

    CPrinterSetup setup;
    switch (commandLine.GetAction()) {
    case CSetupCommandLine::ActionInstall:
        setup.SetSourceFolder(QDir::currentPath());
        setup.InstallPrinter();
        break;
    case CSetupCommandLine::ActionReinstall:
        setup.SetSourceFolderFromProduct();
        setup.ReinstallPrinter();
        break;
    case CSetupCommandLine::ActionUninstall:
        setup.UninstallPrinter();
        break;
    case CSetupCommandLine::ActionInstallFrom:
        setup.SetSourceFolder(commandLine.GetFolder());
        setup.InstallPrinter();
        break;
    case CSetupCommandLine::ActionNone:
        break;
    }
    return 1;
}
