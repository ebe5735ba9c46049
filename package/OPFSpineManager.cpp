#include "package/OPFSpineManager.h"

#include "package/ChildLayout.h"
#include "package/FileTypeImage.h"
#include "package/OpfNames.h"
#include "package/OPFManifestManager.h"

namespace {
enum SpineImage { IMAGE_IDREF = 0, IMAGE_MEDIA_TYPE = 6 };
}

COPFSpineManager::COPFSpineManager() = default;

COPFSpineManager::~COPFSpineManager() = default;

void COPFSpineManager::LoadSpine(const std::shared_ptr<CXmlDocument>& document,
                                 const CXmlNode& rootElement, const QString& packagePath)
{
    m_pDocument = document;
    m_rootElement = rootElement;
    m_strOpfPrefix = GetOpfPrefix(m_rootElement);
    m_strPackagePath = packagePath;

    const CXmlNodeList spines = GetOpfElements(m_rootElement, m_strOpfPrefix, QStringLiteral("spine"));
    for (qsizetype s = spines.size() - 1; s >= 0; --s) {
        const CXmlNodeList attributes = spines[s].GetAttributes();
        for (qsizetype a = attributes.size() - 1; a >= 0; --a) {
            if (attributes[a].GetName() == QLatin1String("toc"))
                m_strTocId = attributes[a].GetValue();
        }
        for (const CXmlNode& child : spines[s].GetChildNodes()) {
            if (child.GetType() == CXmlNode::NODE_ELEMENT)
                m_itemrefList.append({child.GetAttribute(QStringLiteral("idref"))});
        }
    }
    if (m_pSpineTree && m_pManifestManager)
        FillTree();
}

void COPFSpineManager::FillTree()
{
    for (const _ITEMREF& itemref : std::as_const(m_itemrefList)) {
        QString mediaType;
        QString path;
        if (!m_pManifestManager->LookupItem(itemref.idref, mediaType, path)) {
            mediaType.clear();
            path.clear();
        }
        const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        platform::TreeItem entry = m_pSpineTree->InsertItem(itemref.idref, IMAGE_IDREF);
        m_pSpineTree->InsertItem(mediaType, IMAGE_MEDIA_TYPE, entry);
        m_pSpineTree->InsertItem(fileName, GetFileTypeImage(fileName), entry);
    }
}

bool COPFSpineManager::SaveSpine()
{
    if (!m_pSpineTree || !m_pDocument || m_rootElement.IsNull())
        return false;
    const CXmlNodeList spines = GetOpfElements(m_rootElement, m_strOpfPrefix, QStringLiteral("spine"));
    // An entry of the tree takes back its itemref with linear and every other attribute;
    // only entries the tree added are made new.
    ChildLayout::CEntryElements originals(spines, QStringLiteral("idref"));
    CXmlNodeList after;
    for (platform::TreeItem entry = m_pSpineTree->GetRootItem(); entry;
         entry = m_pSpineTree->GetNextSiblingItem(entry)) {
        const QString idref = m_pSpineTree->GetItemText(entry);
        if (idref.isEmpty())
            continue;
        if (CXmlNode original = originals.Take(idref); !original.IsNull()) {
            after.append(original);
            continue;
        }
        CXmlNode itemref = m_pDocument->CreateElement(m_strOpfPrefix + QStringLiteral("itemref"));
        if (itemref.IsNull())
            return false;
        itemref.SetAttribute(QStringLiteral("idref"), idref);
        itemref.SetAttribute(QStringLiteral("linear"), QStringLiteral("yes"));
        after.append(itemref);
    }
    originals.Replace(*m_pDocument, after);
    return m_pDocument->Write(m_strPackagePath);
}

QString COPFSpineManager::GetFirstNonTocIdref() const
{
    for (const _ITEMREF& itemref : m_itemrefList) {
        if (itemref.idref.trimmed().compare(QLatin1String("toc"), Qt::CaseInsensitive) != 0)
            return itemref.idref;
    }
    return QString();
}
