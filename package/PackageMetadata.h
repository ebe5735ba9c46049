#pragma once
// Moves the book's Dublin Core metadata between the package document and the metadata
// grid. The grid is the working copy: a load fills it, the user edits it, and the saves
// rewrite the package's metadata element from it.
#include "package/MetadataRecord.h"
#include "package/XmlNode.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class CXmlDocument;
namespace platform { class PropertyGrid; }

class CPackageMetadata {
public:
    CPackageMetadata();
    virtual ~CPackageMetadata();
    CPackageMetadata(const CPackageMetadata&) = delete;
    CPackageMetadata& operator=(const CPackageMetadata&) = delete;

    void SetMetadataGrid(platform::PropertyGrid* grid) { m_pMetadataGrid = grid; }

    // Fills group 0 in place and appends the additional items found to group 1.
    void LoadMetadata(const std::shared_ptr<CXmlDocument>& document, const QString& packagePath);
    // Each rewrites the metadata element from one group and writes the package document.
    bool SaveRequiredMetadata();
    bool SaveOptionalMetadata();

    const QList<_METADATA>& GetMetadataRecords() const { return m_records; }

private:
    bool CheckDublinCoreDeclaration(const CXmlNode& metadata);
    void LoadRequiredItems(const CXmlNode& metadata);
    void LoadAdditionalItems(const CXmlNode& metadata);
    void AddRecord(const CXmlNode& element);
    CXmlNode MetadataNode() const;

    platform::PropertyGrid* m_pMetadataGrid = nullptr;
    CXmlNode m_rootElement;
    std::shared_ptr<CXmlDocument> m_pDocument; // shared with the manifest and spine managers
    QHash<QString, int> m_tagTable;
    QString m_strPackagePath;
    QList<_METADATA> m_records;
};
