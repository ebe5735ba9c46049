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
// A data folder delivered with the programs ("template", "help"): beside the program in a
// build, else in the installed data folder (<prefix>/share/lindar beside <prefix>/bin).
// A program folder holding neither gets the folder beside it, where a build would put it.
QString ProgramDataFolder(const QString& name);
QString ProgramDataFolder(const QString& programFolder, const QString& name);
// A data folder the programs write into ("thumbnail", the style files exported from the
// templates): beside the delivered data in a build; for an installed copy, or where that
// place cannot be written, the same name in the user's own data (LocalAppData/lindar).
// Made when missing; empty when it cannot be made.
QString WritableDataFolder(const QString& name);
QString WritableDataFolder(const QString& programFolder, const QString& name);
// Whether the running program is an installed copy: its data lies in the installed data
// folder, not beside it.
bool IsInstalledCopy();
bool IsInstalledCopy(const QString& programFolder);
// Root of the file-backed platform stand-ins: $KVX_PLATFORM_ROOT, else LocalAppData/kvx-platform.
QString PlatformRoot();
// The Windows folder and the (native) system folder inside it, under the platform root.
// They are made on first use.
QString WindowsFolder();
QString SystemFolder();

} // namespace platform
