#pragma once
// The package document's spine: read into an itemref list and the spine tree, written back
// from the tree.
#include "package/XmlDocument.h"
#include "platform/controls/TreeControl.h"

#include <QList>
#include <QString>

#include <memory>

class COPFManifestManager;

// One spine entry. The idref is kept whole, however long.
struct _ITEMREF {
    QString idref;
};

class COPFSpineManager {
public:
    COPFSpineManager();
    virtual ~COPFSpineManager();
    COPFSpineManager(const COPFSpineManager&) = delete;
    COPFSpineManager& operator=(const COPFSpineManager&) = delete;

    void SetManifestManager(COPFManifestManager* manifest) { m_pManifestManager = manifest; }
    void SetSpineTree(platform::TreeControl* tree) { m_pSpineTree = tree; }
    platform::TreeControl* GetSpineTree() const { return m_pSpineTree; }

    // Appends the itemrefs of every "spine" element to the list and, with a tree and a
    // manifest attached, fills the tree: idref (image 0) with the item's media type
    // (image 6) and file name (file-type image) as its children.
    void LoadSpine(const std::shared_ptr<CXmlDocument>& document, const CXmlNode& rootElement,
                   const QString& packagePath);

    // Rebuilds the first "spine" element from the tree (every itemref linear="yes") and
    // writes the package file. The toc attribute stays as read.
    bool SaveSpine();

    // The first idref that is not "toc" (in any letter case); empty when there is none.
    QString GetFirstNonTocIdref() const;

    const QString& GetTocId() const { return m_strTocId; }
    const QList<_ITEMREF>& GetItemrefs() const { return m_itemrefList; }

private:
    void FillTree();

    COPFManifestManager* m_pManifestManager = nullptr;
    platform::TreeControl* m_pSpineTree = nullptr;
    std::shared_ptr<CXmlDocument> m_pDocument;
    CXmlNode m_rootElement;
    QString m_strOpfPrefix; // "opf:" when the package names its elements so
    QList<_ITEMREF> m_itemrefList;
    QString m_strTocId;
    QString m_strPackagePath;
};
