// The editor program.
//   lindar [BOOK.epub]           start the editor; a book given is opened once start-up is done
//   lindar --register-component  the word-processor component's install step, then exit
//   lindar --screenshot FILE     start, save a picture of the main window to FILE, then exit
//   lindar --help | --version
#include "editor/CommandLineBook.h"
#include "editor/LindarApp.h"
#include "editor/MainFrame.h"
#include "editor/ScreenshotRun.h"
#include "editor/SessionEndSignals.h"
#include "editor/TdxComponentRegistration.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/LocalTimeZone.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ProgramInfo.h"
#include "platform/ui/ModalDialogs.h"
#include "platform/ui/QtMessageBoxes.h"
#include "platform/ui/QtTranslations.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char kHelp[] =
    "Usage: lindar [BOOK.epub]\n"
    "       lindar --screenshot FILE [BOOK.epub]\n"
    "       lindar --register-component\n"
    "       lindar --help | --version\n"
    "\n"
    "Tolvo maker, the EPUB 2 book editor. A book given on the command line is opened once\n"
    "start-up is done.\n"
    "  --screenshot FILE     start, save a picture of the main window to FILE, then exit\n"
    "  --register-component  the word-processor component's install step, then exit\n"
    "\n"
    "Settings live in $XDG_CONFIG_HOME/Corvel_Vendara Quorra, work folders below\n"
    "$XDG_DATA_HOME/ePubModule.\n";

// The install step runs without a display.
int registerComponent(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (!CTdxComponentRegistration::Register(platform::ProgramFolder())) {
        std::fputs("lindar: the word-processor component could not be registered\n", stderr);
        return 1;
    }
    return 0;
}

// An installed copy brings the component with it; its install step runs once per user,
// as the package cannot reach the users' own registry.
void registerInstalledComponent()
{
    if (platform::IsInstalledCopy() && !CTdxComponentRegistration::IsInstalled())
        CTdxComponentRegistration::Register(platform::ProgramFolder());
}

} // namespace

int main(int argc, char** argv)
{
    platform::KeepLocalTimeZoneLoaded();
    if (platform::AnswerInfoRequest(argc, argv, "lindar", kHelp))
        return 0;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--register-component") == 0)
            return registerComponent(argc, argv);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lindar"));
    QApplication::setApplicationVersion(QString::fromLatin1(platform::KitVersion()));
    QApplication::setDesktopFileName(QStringLiteral("org.lindar.Lindar"));
    platform::InstallQtTranslations();
    const QStringList arguments = QApplication::arguments();

    platform::QtMessageBoxes messageBoxes;
    platform::ScopedMessageBoxBackend boxes(&messageBoxes);

    // Nobody answers the dialogs of a screenshot run: each of ours is cancelled, the start-up's
    // template chooser too, so the picture shows the editor as it starts.
    platform::ScriptedDialogs unattended;
    const bool screenshotRun = arguments.contains(QStringLiteral("--screenshot"));
    platform::ScopedDialogBackend dialogs(screenshotRun ? &unattended : platform::dialogBackend());

    registerInstalledComponent();
    CLindarApp lindar;
    if (!lindar.InitInstance(arguments))
        return 1;
    CCommandLineBook::OpenAfterStartup(lindar, CCommandLineBook::FromArguments(arguments));
    const CSessionEndSignals sessionEnd(lindar.MainFrame());

    std::unique_ptr<CScreenshotRun> screenshot;
    const qsizetype screenshotOption = arguments.indexOf(QStringLiteral("--screenshot"));
    if (screenshotOption > 0 && screenshotOption + 1 < arguments.size()) {
        screenshot = std::make_unique<CScreenshotRun>(*lindar.MainFrame(), arguments.at(screenshotOption + 1));
        screenshot->Start(1000);
    }
    const int status = application.exec();
    return screenshot && screenshot->Failed() ? 1 : status;
}
