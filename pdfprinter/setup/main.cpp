// pdfsetup: installs (/i, /s /<folder>), reinstalls (/r) or removes (/u) the "Corvel PDF"
// printer. It shows nothing, logs to PrinterSetup.log in the temporary folder and always
// ends with status 1.
#include "pdfprinter/setup/PrinterSetup.h"
#include "pdfprinter/setup/SetupCommandLine.h"
#include "platform/core/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const char kHelp[] =
    "Usage: pdfsetup /i | \"/s /FOLDER\" | /r | /u\n"
    "       pdfsetup --help | --version\n"
    "\n"
    "Installs or removes the \"Corvel PDF\" printer.\n"
    "  /i           install from the current folder (its x86/ or x64/ folder)\n"
    "  \"/s /FOLDER\"  install from FOLDER (everything after \"s /\")\n"
    "  /r           remove, then install from the product folder\n"
    "  /u           remove\n"
    "An installed kit keeps them in PREFIX/lib/lindar: pdfsetup \"/s //usr/lib/lindar\" for /usr.\n"
    "Every step goes to PrinterSetup.log in $TMPDIR (else /tmp). Exit status: always 1.\n";

} // namespace

int main(int argc, char** argv)
{
    if (platform::AnswerInfoRequest(argc, argv, "pdfsetup", kHelp))
        return 0;
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
