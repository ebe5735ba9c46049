#pragma once
// Moves the book's Dublin Core metadata between the package document and the metadata
// grid. The grid is the working copy: a load fills it, the user edits it, and the saves
// write back what the user changed. Each row stands for the element it was read from;
// every element, attribute and text the user did not change is written back as it was.
#include "package/MetadataRecord.h"
#include "package/MetadataTables.h"
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
    // A book made from the skeleton carries placeholder texts; its saves drop those the user
    // did not replace, so that no placeholder is ever written as the book's data.
    void SetDropSkeletonPlaceholders(bool drop) { m_bDropPlaceholders = drop; }

    // Fills group 0 in place and appends the additional items found to group 1.
    void LoadMetadata(const std::shared_ptr<CXmlDocument>& document, const QString& packagePath);
    // Each writes back the rows of one group that the user changed, added or removed, and
    // writes the package document.
    bool SaveRequiredMetadata();
    bool SaveOptionalMetadata();
    // The package has metadata for the saves to write.
    bool IsLoaded() const { return m_pDocument && !m_containers.isEmpty(); }
    // The title a new book gets when it is saved with no title of its own, so that the book
    // keeps its one required title without a placeholder standing in for it.
    void SetNewBookTitle(const QString& title) { m_strNewBookTitle = title; }

    // True when a required row holds another value than the load showed.
    bool IsRequiredRowEdited(int row) const;
    // Values of changed rows that were not written, with the reason, after the last save.
    const QStringList& GetRejectedValues() const { return m_rejected; }

    const QList<_METADATA>& GetMetadataRecords() const { return m_records; }

private:
    struct RequiredBinding {
        CXmlNode element; // the first element of the row's kind, or null
        QString shown;    // what the row showed after the load
    };
    struct AdditionalBinding {
        CXmlNode element;
        QString rowName;
        QString value;
    };

    QString FindDublinCorePrefix() const;
    int CodeOf(const CXmlNode& element) const;
    CXmlNodeList MetadataElements() const;
    void LoadRequiredItems(const CXmlNodeList& elements);
    void LoadAdditionalItems(const CXmlNodeList& elements);
    void AddRecord(const CXmlNode& element);
    CXmlNode ContainerForNewElements() const;
    CXmlNode AppendElement(const QString& localName, const QString& text);
    void DropUnchangedPlaceholders();
    void GiveNewBookItsTitle();
    void PrefixPackageAttributes();

    platform::PropertyGrid* m_pMetadataGrid = nullptr;
    CXmlNode m_rootElement;
    std::shared_ptr<CXmlDocument> m_pDocument; // shared with the manifest and spine managers
    QString m_strPackagePath;
    QString m_strDcPrefix;       // the prefix bound to Dublin Core; empty when the book binds none
    CXmlNodeList m_containers;   // metadata elements, and the legacy dc-metadata/x-metadata in them
    RequiredBinding m_required[MetadataTables::REQUIRED_ROW_COUNT];
    QString m_strNewBookTitle;
    QList<AdditionalBinding> m_additional;
    QList<_METADATA> m_records;
    QStringList m_rejected;
    bool m_bDropPlaceholders = false;
};
