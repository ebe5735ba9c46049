#include "package/OPFManifestManager.h"

#include "package/ChildLayout.h"
#include "package/FileTypeImage.h"
#include "package/HrefPath.h"
#include "package/OpfNames.h"
#include "package/ZipUnZipWrapper.h"
#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFileInfo>

namespace {

enum ManifestImage { IMAGE_ID = 0, IMAGE_MEDIA_TYPE = 1 };

} // namespace

COPFManifestManager::COPFManifestManager() = default;

COPFManifestManager::~COPFManifestManager()
{
    m_itemTable.clear();
    if (m_strPackageFolder.isEmpty() || m_strWorkFolder.isEmpty())
        return;
    QString folder = m_strPackageFolder;
    if (folder.endsWith(QLatin1Char('/')) && folder.size() > 1)
        folder.chop(1);
    // The package folder comes from the book; never delete anything outside its work folder.
    if (platform::IsInsideFolder(m_strWorkFolder, folder))
        QDir(folder).removeRecursively();
}

void COPFManifestManager::SetWorkFolder(const QString& folder)
{
    m_strWorkFolder = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
    m_folderVerdicts.clear();
}

bool COPFManifestManager::IsInsideBook(const QString& path) const
{
    const QString bound = QDir::cleanPath(m_strWorkFolder.isEmpty() ? m_strPackageFolder : m_strWorkFolder);
    const QString candidate = QDir::cleanPath(path);
    if (bound.isEmpty() || bound == QLatin1String("."))
        return false;
    // Cheap refusal of ".." first; then links on disk, resolved once per folder, since a
    // large book looks up thousands of files in a handful of folders.
    if (candidate != bound && !candidate.startsWith(bound + QLatin1Char('/')))
        return false;
    const QString folder = QFileInfo(candidate).path();
    auto verdict = m_folderVerdicts.constFind(folder);
    if (verdict == m_folderVerdicts.constEnd())
        verdict = m_folderVerdicts.insert(folder, platform::IsInsideFolder(bound, folder));
    if (!verdict.value())
        return false;
    return !QFileInfo(candidate).isSymLink() || platform::IsInsideFolder(bound, candidate);
}

bool COPFManifestManager::IsBookFile(const QString& path) const
{
    return QFileInfo::exists(path) || (m_pLeftInArchive && m_pLeftInArchive->IsLeftInArchive(path));
}

void COPFManifestManager::UnpackIfLeft(const QString& path) const
{
    if (m_pLeftInArchive && IsInsideBook(path))
        m_pLeftInArchive->UnpackLeftMember(path);
}

void COPFManifestManager::LoadManifest(const std::shared_ptr<CXmlDocument>& document,
                                       const CXmlNode& rootElement, const QString& packageFolder,
                                       const QString& packagePath)
{
    m_pDocument = document;
    m_rootElement = rootElement;
    m_strOpfPrefix = GetOpfPrefix(m_rootElement);
    m_strPackageFolder = packageFolder;
    if (!m_strPackageFolder.endsWith(QLatin1Char('/')) && !m_strPackageFolder.endsWith(QLatin1Char('\\')))
        m_strPackageFolder += QLatin1Char('/');
    m_strPackagePath = packagePath;
    m_itemTable.clear();
    m_folderVerdicts.clear();

    const CXmlNodeList manifests = GetOpfElements(m_rootElement, m_strOpfPrefix, QStringLiteral("manifest"));
    for (const CXmlNode& manifest : manifests) {
        for (const CXmlNode& child : manifest.GetChildNodes()) {
            if (child.GetType() != CXmlNode::NODE_ELEMENT)
                continue;
            _MANIFEST_ITEM item;
            const CXmlNodeList attributes = child.GetAttributes();
            for (qsizetype i = attributes.size() - 1; i >= 0; --i) {
                const QString name = attributes[i].GetName();
                if (name == QLatin1String("id"))
                    item.id = attributes[i].GetValue();
                else if (name == QLatin1String("href"))
                    item.href = attributes[i].GetValue();
                else if (name == QLatin1String("media-type"))
                    item.mediaType = attributes[i].GetValue();
            }
            // Ids are compared as XML compares an ID: without the blanks around it.
            m_itemTable.insert(item.id.trimmed(), item);
            if (m_pManifestTree) {
                platform::TreeItem entry = m_pManifestTree->InsertItem(item.id, IMAGE_ID);
                m_pManifestTree->InsertItem(item.mediaType, IMAGE_MEDIA_TYPE, entry);
                m_pManifestTree->InsertItem(item.href, GetFileTypeImage(item.href), entry);
            }
        }
    }
}

bool COPFManifestManager::LookupItem(const QString& id, QString& mediaType, QString& path) const
{
    const auto found = m_itemTable.constFind(id.trimmed());
    if (found == m_itemTable.constEnd())
        return false;
    const QString joined = ResolveHref(m_strPackageFolder, found->href, [this](const QString& path) {
        return IsBookFile(path);
    });
    // An href is data from the book: one that leads out of the work folder is not used.
    if (!IsInsideBook(joined))
        return false;
    mediaType = found->mediaType;
    path = joined;
    return true;
}

bool COPFManifestManager::SaveManifest()
{
    if (!m_pManifestTree || !m_pDocument || m_rootElement.IsNull())
        return false;
    const CXmlNodeList manifests = GetOpfElements(m_rootElement, m_strOpfPrefix, QStringLiteral("manifest"));
    // Each entry of the tree takes back the element it was read from, with every attribute
    // (fallback, properties ...) as the file has it; only what the tree changed is set.
    ChildLayout::CEntryElements originals(manifests, QStringLiteral("id"));
    CXmlNodeList after;
    for (platform::TreeItem entry = m_pManifestTree->GetRootItem(); entry;
         entry = m_pManifestTree->GetNextSiblingItem(entry)) {
        const QString id = m_pManifestTree->GetItemText(entry);
        if (id.isEmpty())
            continue;
        const platform::TreeItem mediaTypeItem = m_pManifestTree->GetChildItem(entry);
        const platform::TreeItem hrefItem =
            mediaTypeItem ? m_pManifestTree->GetNextSiblingItem(mediaTypeItem) : nullptr;
        const QString mediaType = mediaTypeItem ? m_pManifestTree->GetItemText(mediaTypeItem) : QString();
        const QString href = hrefItem ? m_pManifestTree->GetItemText(hrefItem) : QString();
        CXmlNode item = originals.Take(id);
        if (item.IsNull()) {
            item = m_pDocument->CreateElement(m_strOpfPrefix + QStringLiteral("item"));
            if (item.IsNull())
                return false;
            item.SetAttribute(QStringLiteral("href"), href);
            item.SetAttribute(QStringLiteral("id"), id);
        }
        for (const auto& [name, value] : {std::pair{QStringLiteral("href"), href},
                                           std::pair{QStringLiteral("media-type"), mediaType}}) {
            if (!item.HasAttribute(name) || item.GetAttribute(name) != value)
                item.SetAttribute(name, value);
        }
        after.append(item);
    }
    originals.Replace(*m_pDocument, after);
    return m_pDocument->Write(m_strPackagePath);
}
