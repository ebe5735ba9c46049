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

namespace {

// Set by the build from the install layout; "../share/lindar" for the usual one.
QString installedDataFolder(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/" KVX_DATADIR_FROM_BINDIR));
}

bool isFolder(const QString& path) { return QFileInfo(path).isDir(); }

} // namespace

QString ProgramDataFolder(const QString& name) { return ProgramDataFolder(ProgramFolder(), name); }

QString ProgramDataFolder(const QString& programFolder, const QString& name)
{
    const QString beside = programFolder + QLatin1Char('/') + name;
    if (isFolder(beside))
        return beside;
    const QString installed = installedDataFolder(programFolder) + QLatin1Char('/') + name;
    return isFolder(installed) ? installed : beside;
}

QString WritableDataFolder(const QString& name) { return WritableDataFolder(ProgramFolder(), name); }

QString WritableDataFolder(const QString& programFolder, const QString& name)
{
    if (!IsInstalledCopy(programFolder)) {
        // Beside the delivered data, where the build put it.
        const QString beside = QFileInfo(ProgramDataFolder(programFolder, QStringLiteral("template"))).path()
            + QLatin1Char('/') + name;
        if ((isFolder(beside) || QDir().mkpath(beside)) && QFileInfo(beside).isWritable())
            return beside;
    }
    const QString own = LocalAppDataFolder() + QStringLiteral("/lindar/") + name;
    return isFolder(own) || QDir().mkpath(own) ? own : QString();
}

bool IsInstalledCopy() { return IsInstalledCopy(ProgramFolder()); }

bool IsInstalledCopy(const QString& programFolder)
{
    const QString data = QStringLiteral("template");
    return !isFolder(programFolder + QLatin1Char('/') + data)
        && isFolder(installedDataFolder(programFolder) + QLatin1Char('/') + data);
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
