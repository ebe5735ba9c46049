#include "platform/core/KnownFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString LocalAppDataFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString TempFolder() { return QDir::cleanPath(QDir::tempPath()); }

QString ProgramFolder()
{
    if (QCoreApplication::instance())
        return QDir::cleanPath(QCoreApplication::applicationDirPath());
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString PlatformRoot()
{
    const QString configured = qEnvironmentVariable("KVX_PLATFORM_ROOT");
    if (!configured.isEmpty())
        return QDir::cleanPath(configured);
    return LocalAppDataFolder() + QStringLiteral("/kvx-platform");
}

QString WindowsFolder()
{
    const QString folder = PlatformRoot() + QStringLiteral("/Windows");
    QDir().mkpath(folder);
    return folder;
}

QString SystemFolder()
{
    const QString folder = WindowsFolder() + QStringLiteral("/System32");
    QDir().mkpath(folder);
    return folder;
}

} // namespace platform
