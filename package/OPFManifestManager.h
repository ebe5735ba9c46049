#pragma once
// The package document's manifest: read into an item table and the manifest tree, written
// back from the tree.
#include "package/XmlDocument.h"
#include "platform/controls/TreeControl.h"

#include <QHash>
#include <QString>

#include <memory>

class CZipUnZipWrapper;

// One manifest entry. Values are kept whole, however long.
struct _MANIFEST_ITEM {
    QString id;
    QString href;
    QString mediaType;
};

class COPFManifestManager {
public:
    COPFManifestManager();
    // Deletes the package folder with its contents, but only when it lies inside the work
    // folder; a book whose package document sits at the top deletes the whole work folder.
    virtual ~COPFManifestManager();
    COPFManifestManager(const COPFManifestManager&) = delete;
    COPFManifestManager& operator=(const COPFManifestManager&) = delete;

    void SetManifestTree(platform::TreeControl* tree) { m_pManifestTree = tree; }
    platform::TreeControl* GetManifestTree() const { return m_pManifestTree; }
    // The folder every path of this book must stay in. Without one, look-ups stay inside
    // the package folder and closing deletes nothing.
    void SetWorkFolder(const QString& folder);

    // Reads every child element of each "manifest" element into the item table and, with a
    // tree attached, into the tree: id (image 0) with media-type (image 1) and href
    // (file-type image) as its children.
    void LoadManifest(const std::shared_ptr<CXmlDocument>& document, const CXmlNode& rootElement,
                      const QString& packageFolder, const QString& packagePath);

    // False when `id` is unknown, or when its href leads out of the work folder.
    bool LookupItem(const QString& id, QString& mediaType, QString& path) const;

    // True when `path` stays inside the work folder (or, without one, the package folder).
    bool IsInsideBook(const QString& path) const;

    // The archive that may still hold files of the book (see CZipUnZipWrapper::ExtractAll):
    // look-ups count them as the book's files, and UnpackIfLeft writes one when it is read.
    void SetMembersLeftInArchive(CZipUnZipWrapper* archive) { m_pLeftInArchive = archive; }
    // A file of the book: on disk, or left in the archive.
    bool IsBookFile(const QString& path) const;
    void UnpackIfLeft(const QString& path) const;

    // Rebuilds the first "manifest" element from the tree and writes the package file.
    // False without a tree or document, when an element cannot be made, or the write fails.
    bool SaveManifest();

    const QString& GetPackageFolder() const { return m_strPackageFolder; }
    const QString& GetPackagePath() const { return m_strPackagePath; }
    qsizetype GetItemCount() const { return m_itemTable.size(); }

private:
    platform::TreeControl* m_pManifestTree = nullptr;
    std::shared_ptr<CXmlDocument> m_pDocument;
    CXmlNode m_rootElement;
    QString m_strOpfPrefix; // "opf:" when the package names its elements so
    QString m_strPackageFolder; // always ends in "/"
    QString m_strPackagePath;
    QHash<QString, _MANIFEST_ITEM> m_itemTable;
    QString m_strWorkFolder;
    mutable QHash<QString, bool> m_folderVerdicts; // folder -> inside the book
    CZipUnZipWrapper* m_pLeftInArchive = nullptr;
};
