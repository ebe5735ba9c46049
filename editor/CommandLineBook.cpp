#include "editor/CommandLineBook.h"

#include "editor/LindarApp.h"
#include "editor/MainFrame.h"

#include <QFileInfo>
#include <QMetaObject>

QString CCommandLineBook::FromArguments(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--screenshot")) {
            ++i;
            continue;
        }
        if (!argument.startsWith(QLatin1Char('-')))
            return QFileInfo(argument).absoluteFilePath();
    }
    return {};
}

void CCommandLineBook::OpenAfterStartup(CLindarApp& app, const QString& path)
{
    if (path.isEmpty())
        return;
    QMetaObject::invokeMethod(
        &app,
        [&app, path] {
            if (app.MainFrame() && app.MainFrame()->isVisible())
                app.OpenBookFile(path);
        },
        Qt::QueuedConnection);
}
