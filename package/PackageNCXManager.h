#pragma once
// Reads the book's NCX into the navigation tree and writes it back from that tree. While
// the book is open the tree, not this object, holds the table of contents. Each entry item
// carries in its data word the navigation point it was read from (index + 1; 0 for an
// entry the user made), so that a save keeps each point's id, class and everything else
// it holds, and leaves the file as it was where the tree did not change.
#include "package/XmlNode.h"
#include "platform/controls/TreeControl.h"

#include <QHash>
#include <QSet>
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
    // The title and author rows of the grid into docTitle and docAuthor, where the user
    // changed them since the load.
    bool SaveDocTitleAndAuthor();
    // The navigation tree into the navMap. Where the tree changed, playOrder is numbered
    // anew over the whole NCX (navigation points in tree order, page and navigation
    // targets kept in place among them), so that no two share a value.
    bool SaveNavMap();
    // An NCX was read, so a save must write it.
    bool IsLoaded() const { return m_pDocument && !m_rootElement.IsNull(); }
    const QString& GetNcxPath() const { return m_strNcxPath; }
    QString GetLastWriteError() const;
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
    CXmlNode RootChildNamed(const QStringList& names) const;
    QString FreshNavPointId(QSet<QString>& taken);
    void RenumberPlayOrder(const CXmlNodeList& navPoints);

    CXmlNode m_rootElement;
    std::unique_ptr<CXmlDocument> m_pDocument;
    platform::PropertyGrid* m_pMetadataGrid = nullptr;
    platform::TreeControl* m_pNavigationTree = nullptr;
    QHash<QString, QString> m_playOrderTable; // playOrder -> navPoint id
    QHash<QString, QString> m_sourceTable;    // navPoint id -> content src
    CXmlNodeList m_navPoints;                 // the points read, by the entry items' data
    QString m_strLoadedTitle;                 // the grid's title and author when the NCX was read
    QString m_strLoadedAuthor;
    int m_nNextId = 1;
    QString m_strNcxPath;
    QString m_strNcxFolder;
    QString m_strPrefix;
    QString m_strNamespace;
    bool m_bPrefixedAttributes = false; // the file writes ncx:src and the like
};
