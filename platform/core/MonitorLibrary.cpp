#include "platform/core/MonitorLibrary.h"

#include "platform/core/LastError.h"

#include <QFile>

#include <dlfcn.h>

namespace platform {

bool QueryMonitorPorts(const QString& libraryPath, QStringList* ports)
{
    if (!QFile::exists(libraryPath)) {
        SetLastError(ErrorModNotFound);
        return false;
    }
    void* library = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        SetLastError(ErrorBadExeFormat);
        return false;
    }
    using PortNames = const char* (*)();
    const auto portNames = reinterpret_cast<PortNames>(dlsym(library, "KvxMonitorPortNames"));
    const char* names = portNames ? portNames() : nullptr;
    ports->clear();
    if (names)
        *ports = QString::fromUtf8(names).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    dlclose(library);
    if (ports->isEmpty()) {
        SetLastError(ErrorInvalidPrintMonitor);
        return false;
    }
    SetLastError(ErrorSuccess);
    return true;
}

} // namespace platform
