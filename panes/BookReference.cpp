#include "panes/BookReference.h"

#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace BookReference {

QString FolderOf(const QString& filePath)
{
    return filePath.left(filePath.lastIndexOf(QLatin1Char('/')) + 1);
}

QString Resolve(const QString& folder, const QString& reference, const QString& workFolder)
{
    if (workFolder.isEmpty() || reference.isEmpty())
        return QString();
    QString path = QDir::cleanPath(folder + QLatin1Char('/') + reference);
    if (reference.contains(QLatin1Char('%')) && !QFileInfo::exists(path)) {
        const QString decoded = QDir::cleanPath(
            folder + QLatin1Char('/') + QUrl::fromPercentEncoding(reference.toUtf8()));
        if (QFileInfo::exists(decoded))
            path = decoded;
    }
    return platform::IsInsideFolder(workFolder, path) ? path : QString();
}

bool HasChapterExtension(const QString& path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString extension = path.mid(dot);
    return extension == QLatin1String(".html") || extension == QLatin1String(".htm")
        || extension == QLatin1String(".xml") || extension == QLatin1String(".xhtml");
}

} // namespace BookReference
