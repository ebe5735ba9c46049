#include "platform/core/ShellPaths.h"

namespace platform {
namespace {

const QString kEllipsis = QStringLiteral("...");

QString cutWithEllipsis(const QString& text, int maxChars)
{
    return text.left(qMax(0, maxChars - int(kEllipsis.size()))) + kEllipsis;
}

} // namespace

QString PathCompactPath(const QString& path, int maxChars)
{
    if (path.size() <= maxChars)
        return path;
    if (maxChars <= int(kEllipsis.size()))
        return kEllipsis.left(qMax(0, maxChars));
    // A folder path keeps its last folder name with the trailing separator ("/.../quarterly/").
    const qsizetype from = path.endsWith(u'/') ? path.size() - 2 : path.size() - 1;
    const qsizetype separator = from < 0 ? -1 : path.lastIndexOf(u'/', from);
    if (separator < 0)
        return cutWithEllipsis(path, maxChars);
    const QString last = path.mid(separator); // with its separator
    if (last.size() + kEllipsis.size() <= maxChars)
        return path.left(maxChars - kEllipsis.size() - last.size()) + kEllipsis + last;
    // Even the last component does not fit: keep "..." + "/" and as much of it as fits.
    return kEllipsis + cutWithEllipsis(last, maxChars - int(kEllipsis.size()));
}

bool PathIsUrl(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 2 || !text.at(0).isLetter() || text.at(0).unicode() > 0x7F)
        return false;
    for (qsizetype i = 1; i < colon; ++i) {
        const QChar c = text.at(i);
        const bool schemeChar = (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == u'+' || c == u'-' || c == u'.';
        if (!schemeChar)
            return false;
    }
    return true;
}

} // namespace platform
