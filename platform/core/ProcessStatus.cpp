#include "platform/core/ProcessStatus.h"

#include "platform/core/LastError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace platform {

namespace {

QString mapsPath(ProcessId id) { return QStringLiteral("/proc/%1/maps").arg(id); }

// One line of /proc/<pid>/maps: "start-end perms offset dev inode   path".
bool parseMapping(const QByteArray& line, ModuleHandle* start, QString* path)
{
    const qsizetype slash = line.indexOf(" /");
    const qsizetype dash = line.indexOf('-');
    if (slash < 0 || dash <= 0)
        return false;
    bool ok = false;
    *start = line.left(dash).toULongLong(&ok, 16);
    if (!ok)
        return false;
    QByteArray file = line.mid(slash + 1).trimmed();
    if (file.endsWith(" (deleted)"))
        file.chop(int(sizeof(" (deleted)") - 1));
    *path = QFile::decodeName(file);
    return true;
}

} // namespace

bool EnumProcesses(QList<ProcessId>* processes, qsizetype capacity)
{
    QDir proc(QStringLiteral("/proc"));
    if (!proc.exists()) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    QList<ProcessId> ids;
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const ProcessId id = entry.toUInt(&ok);
        if (ok)
            ids.append(id);
    }
    std::sort(ids.begin(), ids.end());
    *processes = ids.mid(0, capacity);
    SetLastError(ErrorSuccess);
    return true;
}

bool OpenProcess(ProcessId id, ProcessHandle* handle)
{
    QFile maps(mapsPath(id));
    if (!maps.exists()) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    if (!maps.open(QIODevice::ReadOnly)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    handle->m_id = id;
    handle->m_modules.clear();
    SetLastError(ErrorSuccess);
    return true;
}

bool ProcessHandle::enumModules(QList<ModuleHandle>* modules, qsizetype capacity)
{
    QFile maps(mapsPath(m_id));
    if (!maps.open(QIODevice::ReadOnly)) {
        SetLastError(maps.exists() ? ErrorAccessDenied : ErrorInvalidHandle);
        return false;
    }
    // Each file counts once, at its lowest mapped address; maps lists ascending addresses.
    QHash<QString, ModuleHandle> seen;
    m_modules.clear();
    const QList<QByteArray> lines = maps.readAll().split('\n');
    for (const QByteArray& line : lines) {
        ModuleHandle start = 0;
        QString path;
        if (!parseMapping(line, &start, &path) || seen.contains(path))
            continue;
        seen.insert(path, start);
        m_modules.append({start, path});
    }
    modules->clear();
    for (const Module& module : m_modules.mid(0, capacity))
        modules->append(module.handle);
    SetLastError(ErrorSuccess);
    return true;
}

bool ProcessHandle::moduleFileName(ModuleHandle module, QString* fileName) const
{
    for (const Module& known : m_modules) {
        if (known.handle == module) {
            *fileName = known.fileName;
            SetLastError(ErrorSuccess);
            return true;
        }
    }
    SetLastError(ErrorInvalidHandle);
    return false;
}

bool ProcessHandle::moduleBaseName(ModuleHandle module, QString* baseName) const
{
    QString fileName;
    if (!moduleFileName(module, &fileName))
        return false;
    *baseName = QFileInfo(fileName).fileName();
    return true;
}

} // namespace platform
