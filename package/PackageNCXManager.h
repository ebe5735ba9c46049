#pragma once
// Reads the book's NCX into the navigation tree and writes it back from that tree. While
// the book is open the tree, not this object, holds the table of contents.
#include "package/XmlNode.h"
#include "platform/controls/TreeControl.h"

#include <QHash>
#include <QString>

#include <memory>

class CXmlDocument;
namespace platform { class PropertyGrid; }

class CPackageNCXManager {
public:
    // Item images of the navigation tree.
    enum NavItemKind { NAV_TITLE = 0, NAV_ENTRY = 1, NAV_CONTENT = 2, NAV_NOTICE = 3 };

    CPackageNCXManager();
    virtual ~CPackageNCXManager();
    CPackageNCXManager(const CPackageNCXManager&) = delete;
    CPackageNCXManager& operator=(const CPackageNCXManager&) = delete;

    void SetMetadataGrid(platform::PropertyGrid* grid) { m_pMetadataGrid = grid; }
    void SetNavigationTree(platform::TreeControl* tree) { m_pNavigationTree = tree; }

    // Fills the navigation tree; the grid must already hold the book's title.
    bool LoadNcx(const QString& ncxFolder, const QString& ncxPath);
    // The title and author rows of the grid into docTitle and docAuthor.
    bool SaveDocTitleAndAuthor();
    // The navigation tree into the navMap, renumbered in pre-order.
    bool SaveNavMap();
    // The source of the point with playOrder "1"; `id` gets that point's id. Either may be empty.
    QString GetFirstPlayOrderSource(QString& id) const;

    static QString NoticeText();

private:
    QString Q(const QString& name) const;
    QString AttributeName(const CXmlNode& element, const QString& name);
    QString WrittenAttributeName(const QString& name) const;
    CXmlNodeList ElementsNamed(const QString& name) const;
    void FillFromNavMap(const CXmlNode& navMap);
    void ReadNavPoint(const CXmlNode& navPoint, platform::TreeItem parent);
    void SetDocumentText(const QString& element, const QString& value);
    CXmlNode EnsureNavMap();

    CXmlNode m_rootElement;
    std::unique_ptr<CXmlDocument> m_pDocument;
    platform::PropertyGrid* m_pMetadataGrid = nullptr;
    platform::TreeControl* m_pNavigationTree = nullptr;
    QHash<QString, QString> m_playOrderTable; // playOrder -> navPoint id
    QHash<QString, QString> m_sourceTable;    // navPoint id -> content src
    QString m_strNcxPath;
    QString m_strNcxFolder;
    QString m_strPrefix;
    QString m_strNamespace;
    bool m_bPrefixedAttributes = false; // the file writes ncx:src and the like
};
