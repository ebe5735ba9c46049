#pragma once
// Where the platform keeps things, mapped to Linux folders. All paths use "/" and have
// no trailing separator.
#include <QString>

namespace platform {

// Per-user local application data (XDG_DATA_HOME).
QString LocalAppDataFolder();
// The user's temporary folder (TMPDIR).
QString TempFolder();
// The folder of the running executable.
QString ProgramFolder();
// Root of the file-backed platform stand-ins: $KVX_PLATFORM_ROOT, else LocalAppData/kvx-platform.
QString PlatformRoot();
// The Windows folder and the (native) system folder inside it, under the platform root.
// They are made on first use.
QString WindowsFolder();
QString SystemFolder();

} // namespace platform
