#include "package/OPFManager.h"

#include "package/HrefPath.h"
#include "package/OpfNames.h"
#include "platform/core/LongWork.h"

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
    m_pPackageDocument = document;
    m_rootElement = document ? document->GetDocumentElement() : CXmlNode();
    m_strPackageFolder = packageFolder;
    // Each part fills its pane; the window may turn between them.
    m_manifestManager.LoadManifest(document, m_rootElement, packageFolder, packagePath);
    platform::LongWorkStep();
    m_spineManager.LoadSpine(document, m_rootElement, packagePath);
    platform::LongWorkStep();
    m_metadata.LoadMetadata(document, packagePath);
    platform::LongWorkStep();

    QString mediaType;
    QString ncxPath;
    if (m_manifestManager.LookupItem(m_spineManager.GetTocId(), mediaType, ncxPath)
        && isNcxMediaType(mediaType)) {
        m_strNCXPath = ncxPath;
        // The NCX's sources are relative to the NCX itself, which may sit elsewhere than
        // the package document (a "../toc.ncx").
        m_strNCXFolder = ncxPath.left(ncxPath.lastIndexOf(QLatin1Char('/')) + 1);
        m_manifestManager.UnpackIfLeft(m_strNCXPath);
        // After the metadata, so that the grid already holds the title the tree shows.
        m_ncxManager.LoadNcx(m_strNCXFolder, m_strNCXPath);
    }
}

bool COPFManager::GetFirstDocumentPath(QString& path) const
{
    path.clear();
    // The NCX's first play-order entry: its id, and the content source recorded for it.
    // A fragment ("ch1.xhtml#start") names a place in the file, not the file.
    QString firstId;
    const QString firstSource = HrefWithoutFragment(m_ncxManager.GetFirstPlayOrderSource(firstId));
    if (!firstSource.isEmpty()) {
        const QString joined = ResolveHref(m_strNCXFolder, firstSource, [this](const QString& file) {
            return m_manifestManager.IsBookFile(file);
        });
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

bool COPFManager::SavePackageFiles(const QString& newBookTitle, QString* failure)
{
    auto failed = [failure](const QString& path, const QString& reason) {
        if (failure)
            *failure = reason.isEmpty() ? path : path + QStringLiteral(": ") + reason;
        return false;
    };
    if (m_ncxManager.IsLoaded()
        && !(m_ncxManager.SaveDocTitleAndAuthor() && m_ncxManager.SaveNavMap()))
        return failed(m_ncxManager.GetNcxPath(), m_ncxManager.GetLastWriteError());
    if (!m_pPackageDocument || m_rootElement.IsNull())
        return true;
    m_metadata.SetNewBookTitle(newBookTitle);
    const bool metadataWritten = !m_metadata.IsLoaded()
        || (m_metadata.SaveRequiredMetadata() && m_metadata.SaveOptionalMetadata());
    if (!metadataWritten || !m_manifestManager.SaveManifest() || !m_spineManager.SaveSpine())
        return failed(m_manifestManager.GetPackagePath(), m_pPackageDocument->LastWriteError());
    return true;
}

void COPFManager::DropGuideReferences(const QString& file)
{
    if (m_rootElement.IsNull() || file.isEmpty())
        return;
    const QString prefix = GetOpfPrefix(m_rootElement);
    for (CXmlNode guide : GetOpfElements(m_rootElement, prefix, QStringLiteral("guide"))) {
        for (const CXmlNode& reference : guide.GetChildElements()) {
            const QString href = HrefWithoutFragment(reference.GetAttribute(QStringLiteral("href")));
            if (!href.isEmpty() && ResolveHref(m_strPackageFolder, href) == file)
                guide.RemoveChild(reference);
        }
    }
}
