#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {
namespace {

// The absolute, clean path with its longest existing leading part replaced by its canonical
// form. Empty for a dangling link, whose destination is unknown.
QString resolveExistingPart(const QString& path)
{
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    QString head = absolute;
    QStringList tail;
    for (;;) {
        const QFileInfo info(head);
        if (info.exists()) {
            tail.prepend(info.canonicalFilePath());
            return QDir::cleanPath(tail.join(QLatin1Char('/')));
        }
        if (info.isSymLink())
            return QString();
        const int slash = head.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return absolute;
        tail.prepend(head.mid(slash + 1));
        head = head.left(slash);
    }
}

} // namespace

bool IsInsideFolder(const QString& folder, const QString& path)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QString root = resolveExistingPart(folder);
    const QString candidate = resolveExistingPart(path);
    if (root.isEmpty() || candidate.isEmpty())
        return false;
    if (candidate == root)
        return true;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return candidate.startsWith(prefix);
}

bool IsSafeRelativePath(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return false;
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch())
        return false;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList parts = name.split(separators);
    for (const QString& part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return true;
}

} // namespace platform
