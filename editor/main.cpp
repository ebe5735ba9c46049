// The editor program.
//   lindar                       start the editor
//   lindar --register-component  the word-processor component's install step, then exit
//   lindar --screenshot FILE     start, save a picture of the main window to FILE, then exit
#include "editor/LindarApp.h"
#include "editor/MainFrame.h"
#include "editor/TdxComponentRegistration.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/QtMessageBoxes.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lindar"));
    const QStringList arguments = QApplication::arguments();

    if (arguments.contains(QStringLiteral("--register-component"))) {
        if (!CTdxComponentRegistration::Register(platform::ProgramFolder())) {
            std::fputs("lindar: the word-processor component could not be registered\n", stderr);
            return 1;
        }
        return 0;
    }

    platform::QtMessageBoxes messageBoxes;
    platform::ScopedMessageBoxBackend boxes(&messageBoxes);

    CLindarApp lindar;
    if (!lindar.InitInstance(arguments))
        return 1;

    const int screenshot = int(arguments.indexOf(QStringLiteral("--screenshot")));
    if (screenshot > 0 && screenshot + 1 < arguments.size()) {
        const QString file = arguments.at(screenshot + 1);
        QTimer::singleShot(1000, lindar.MainFrame(), [&lindar, file] {
            const bool saved = lindar.MainFrame()->grab().save(file);
            if (!saved)
                std::fprintf(stderr, "lindar: cannot write %s\n", qPrintable(file));
            lindar.MainFrame()->close();
        });
    }
    return application.exec();
}
