#include "components/tdx/TextDocument.h"

#include "components/tdx/CssUnits.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace tdx {

QString TextDocument::localPath(const QString& name) const
{
    const QUrl url(name);
    if (url.isLocalFile())
        return QDir::cleanPath(url.toLocalFile());
    if (!url.scheme().isEmpty() && url.scheme().size() > 1)
        return QString(); // http:, data: and the like are not files
    const QString path = QUrl::fromPercentEncoding(url.path().toUtf8());
    if (path.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    if (m_folder.isEmpty())
        return QString();
    return QDir::cleanPath(m_folder + '/' + path);
}

QVariant TextDocument::loadResource(int type, const QUrl& name)
{
    if (type != QTextDocument::ImageResource && type != QTextDocument::StyleSheetResource)
        return QVariant();
    if (type == QTextDocument::StyleSheetResource && !m_ownStyleSheets)
        return QString();
    const QString path = localPath(name.toString());
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QVariant();
    const QByteArray data = file.readAll();
    if (type == QTextDocument::StyleSheetResource)
        return emToAbsolute(QString::fromUtf8(data));
    return data;
}

} // namespace tdx
