#pragma once
// Asks a port-monitor library which ports it offers. A monitor library exports
// `const char* KvxMonitorPortNames(void)`: its port names, one per line.
#include <QString>
#include <QStringList>

namespace platform {

// Loads the library, reads its ports and unloads it. Last error on failure:
// ErrorModNotFound (no file), ErrorBadExeFormat (not loadable), ErrorInvalidPrintMonitor
// (no port entry point or no ports).
bool QueryMonitorPorts(const QString& libraryPath, QStringList* ports);

} // namespace platform
