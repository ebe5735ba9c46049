#include "package/OPFManager.h"

#include <QDir>

namespace {

bool isNcxMediaType(const QString& mediaType)
{
    return mediaType.compare(QLatin1String("text/xml"), Qt::CaseInsensitive) == 0
        || mediaType.compare(QLatin1String("application/x-dtbncx+xml"), Qt::CaseInsensitive) == 0;
}

} // namespace

COPFManager::COPFManager() = default;

COPFManager::~COPFManager() = default;

void COPFManager::Load(const std::shared_ptr<CXmlDocument>& document, const QString& packageFolder,
                       const QString& packagePath)
{
    m_rootElement = document ? document->GetDocumentElement() : CXmlNode();
    m_manifestManager.LoadManifest(document, m_rootElement, packageFolder, packagePath);
    m_spineManager.LoadSpine(document, m_rootElement, packagePath);

    QString mediaType;
    QString ncxPath;
    if (m_manifestManager.LookupItem(m_spineManager.GetTocId(), mediaType, ncxPath)
        && isNcxMediaType(mediaType)) {
        m_strNCXPath = ncxPath;
        m_strNCXFolder = packageFolder;
    }
}

bool COPFManager::GetFirstDocumentPath(QString& path) const
{
    path.clear();
    // The NCX's first play-order entry: its id, and the content source recorded for it.
    // Both stay empty until the NCX manager has read a table of contents.
    QString firstId;
    QString firstSource;
    if (!firstSource.isEmpty()) {
        const bool separated = m_strNCXFolder.endsWith(QLatin1Char('/'))
            || firstSource.startsWith(QLatin1Char('/'));
        const QString joined = QDir::cleanPath(
            m_strNCXFolder + (separated ? QString() : QStringLiteral("/")) + firstSource);
        // The source is data from the book: one that leads out of it is not used.
        if (m_manifestManager.IsInsideBook(joined)) {
            path = joined;
            return true;
        }
    }
    QString mediaType;
    if (m_manifestManager.LookupItem(firstId, mediaType, path))
        return true;
    if (m_manifestManager.LookupItem(m_spineManager.GetFirstNonTocIdref(), mediaType, path))
        return true;
    path.clear();
    return false;
}
