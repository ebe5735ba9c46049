#pragma once
// Process status over /proc: the running processes and the files each one has mapped
// (its "modules"). A module's handle is the lowest address the file is mapped at, as a
// module handle is its load address.
#include <QList>
#include <QString>
#include <QtGlobal>

namespace platform {

using ProcessId = quint32;
using ModuleHandle = quint64;

// Up to `capacity` process ids, in ascending order.
bool EnumProcesses(QList<ProcessId>* processes, qsizetype capacity);

class ProcessHandle {
public:
    ProcessId id() const { return m_id; }

    // Reads the process's mapped files now; up to `capacity` handles, in address order.
    bool enumModules(QList<ModuleHandle>* modules, qsizetype capacity);
    // Full path of a module seen by the last enumModules().
    bool moduleFileName(ModuleHandle module, QString* fileName) const;
    // File name without folder.
    bool moduleBaseName(ModuleHandle module, QString* baseName) const;

private:
    friend bool OpenProcess(ProcessId id, ProcessHandle* handle);

    struct Module {
        ModuleHandle handle;
        QString fileName;
    };
    ProcessId m_id = 0;
    QList<Module> m_modules;
};

// Fails (ErrorInvalidParameter for a process that is gone, ErrorAccessDenied when its
// mappings cannot be read) like opening a process for query and read.
bool OpenProcess(ProcessId id, ProcessHandle* handle);

} // namespace platform
