#include "platform/core/SystemInfo.h"

#include "platform/core/LastError.h"

#include <sys/utsname.h>

namespace platform {

namespace {

thread_local int t_redirectionDisabled = 0;

} // namespace

quint16 ProcessorArchitectureFromMachine(const QString& machine)
{
    if (machine == QLatin1String("x86_64"))
        return ProcessorArchitectureAmd64;
    if (machine == QLatin1String("aarch64") || machine == QLatin1String("arm64"))
        return ProcessorArchitectureArm64;
    if (machine == QLatin1String("ia64"))
        return ProcessorArchitectureIa64;
    if (machine.size() == 4 && machine.startsWith(QLatin1Char('i')) && machine.endsWith(QLatin1String("86")))
        return ProcessorArchitectureIntel;
    if (machine.startsWith(QLatin1String("arm")))
        return ProcessorArchitectureArm;
    return ProcessorArchitectureUnknown;
}

quint16 NativeProcessorArchitecture()
{
    utsname name {};
    if (uname(&name) != 0)
        return ProcessorArchitectureUnknown;
    return ProcessorArchitectureFromMachine(QString::fromLatin1(name.machine));
}

bool IsNative64Bit()
{
    switch (NativeProcessorArchitecture()) {
    case ProcessorArchitectureAmd64:
    case ProcessorArchitectureArm64:
    case ProcessorArchitectureIa64:
        return true;
    default:
        return false;
    }
}

bool Wow64DisableWow64FsRedirection(void** oldValue)
{
    if (!oldValue) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    *oldValue = reinterpret_cast<void*>(static_cast<quintptr>(t_redirectionDisabled));
    ++t_redirectionDisabled;
    SetLastError(ErrorSuccess);
    return true;
}

bool Wow64RevertWow64FsRedirection(void* oldValue)
{
    const auto previous = static_cast<int>(reinterpret_cast<quintptr>(oldValue));
    if (previous < 0 || previous >= t_redirectionDisabled) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    t_redirectionDisabled = previous;
    SetLastError(ErrorSuccess);
    return true;
}

bool IsFsRedirectionDisabled() { return t_redirectionDisabled > 0; }

} // namespace platform
