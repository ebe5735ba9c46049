#include "components/tdx/TextDocument.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace tdx {

QString TextDocument::localPath(const QString& name) const
{
    const QUrl url(name);
    if (url.isLocalFile())
        return m_absoluteAllowed ? QDir::cleanPath(url.toLocalFile()) : QString();
    if (!url.scheme().isEmpty() && url.scheme().size() > 1)
        return QString(); // http:, data: and the like are not files
    const QString path = QUrl::fromPercentEncoding(url.path().toUtf8());
    if (path.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(path))
        return m_absoluteAllowed ? QDir::cleanPath(path) : QString();
    if (m_folder.isEmpty())
        return QString();
    return QDir::cleanPath(m_folder + '/' + path);
}

QVariant TextDocument::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::StyleSheetResource)
        return QString();
    if (type != QTextDocument::ImageResource)
        return QVariant();
    const QString path = localPath(name.toString());
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QVariant();
    return file.readAll();
}

} // namespace tdx
