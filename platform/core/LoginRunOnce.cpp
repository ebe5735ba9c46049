#include "platform/core/LoginRunOnce.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {
namespace {

// One argument of an Exec key: quoted where the desktop-entry rules reserve a character.
QString execArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (needsQuotes) {
        quoted.clear();
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted = u'"' + quoted + u'"';
    }
    return quoted.replace(u'%', QStringLiteral("%%")); // field codes
}

// A string value of a desktop entry.
QString entryString(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

QString LoginRunOnceEntry(const QString& valueName)
{
    QString name = valueName;
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != u'-')
            c = u'_';
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/kvx-runonce-")
        + name + QStringLiteral(".desktop");
}

bool ScheduleAtLogin(const QString& valueName, const QString& program, const QStringList& arguments)
{
    const QString entry = LoginRunOnceEntry(valueName);
    if (!QDir().mkpath(QFileInfo(entry).path()))
        return false;
    // The shell removes the entry first, then becomes the command.
    QStringList exec {QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("rm -f -- \"$0\"; exec \"$@\""),
                      entry, program};
    exec += arguments;
    QStringList quoted;
    for (const QString& argument : exec)
        quoted.append(execArgument(argument));

    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + entryString(valueName)
        + QStringLiteral("\nComment=Runs once at the next login, then removes itself\nExec=")
        + entryString(quoted.join(u' ')) + QStringLiteral("\nTerminal=false\nNoDisplay=true\n");
    QSaveFile file(entry);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}

void CancelAtLogin(const QString& valueName) { QFile::remove(LoginRunOnceEntry(valueName)); }

} // namespace platform
