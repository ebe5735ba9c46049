#pragma once
// What the machine is: the native processor architecture with the Win32 codes, and the
// switch that turns file-system redirection off around system-folder copies.
#include <QString>
#include <QtGlobal>

namespace platform {

enum ProcessorArchitecture : quint16 {
    ProcessorArchitectureIntel = 0,
    ProcessorArchitectureArm = 5,
    ProcessorArchitectureIa64 = 6,
    ProcessorArchitectureAmd64 = 9,
    ProcessorArchitectureIa32OnWin64 = 10,
    ProcessorArchitectureArm64 = 12,
    ProcessorArchitectureUnknown = 0xFFFF,
};

// The machine's own architecture (not the process's), from the kernel.
quint16 NativeProcessorArchitecture();
// The architecture code for a kernel machine name ("x86_64", "aarch64", "i686", ...).
quint16 ProcessorArchitectureFromMachine(const QString& machine);

// A 64-bit native machine: the spooler environment "Windows x64" belongs to it.
bool IsNative64Bit();

// File-system redirection only exists for 32-bit programs on 64-bit Windows; programs
// here are native, so the system folder is always the real one. The switches keep the
// call shape and count per thread so that unbalanced use shows in tests.
bool Wow64DisableWow64FsRedirection(void** oldValue);
bool Wow64RevertWow64FsRedirection(void* oldValue);
bool IsFsRedirectionDisabled();

} // namespace platform
