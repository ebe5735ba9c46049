#pragma once
// The run-once list at logon. Windows starts each command of the RunOnce key once, at the
// next logon. Here each such command gets an XDG autostart entry of its own in the user's
// autostart folder ($XDG_CONFIG_HOME/autostart): the desktop starts it at the next login,
// and the entry removes itself before its command runs, so it runs once.
#include <QString>
#include <QStringList>

namespace platform {

// Where the entry for a run-once value lives.
QString LoginRunOnceEntry(const QString& valueName);

// Writes (or replaces) the entry that runs program with arguments at the next login.
bool ScheduleAtLogin(const QString& valueName, const QString& program, const QStringList& arguments);

// Drops a pending entry; a missing one is fine.
void CancelAtLogin(const QString& valueName);

} // namespace platform
