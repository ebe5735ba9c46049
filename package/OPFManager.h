#pragma once
// Owns the managers that read the package document and write it back, and finds the NCX
// and the first chapter of the book.
#include "package/OPFManifestManager.h"
#include "package/OPFSpineManager.h"
#include "package/PackageMetadata.h"
#include "package/PackageNCXManager.h"
#include "package/XmlDocument.h"

#include <QString>

#include <memory>

class COPFManager {
public:
    COPFManager();
    virtual ~COPFManager();
    COPFManager(const COPFManager&) = delete;
    COPFManager& operator=(const COPFManager&) = delete;

    // Manifest, spine and metadata, then the NCX that the spine's toc names, when the
    // manifest gives it an NCX media type.
    void Load(const std::shared_ptr<CXmlDocument>& document, const QString& packageFolder,
              const QString& packagePath);

    // The chapter shown first: the NCX's first play-order entry, else the first spine
    // entry that is not "toc". False, with `path` empty, when none resolves.
    bool GetFirstDocumentPath(QString& path) const;

    // Writes the NCX title and author, the navMap, the metadata, the manifest and the spine
    // back into their files, in that order. A new book saved without a title takes
    // `newBookTitle`. False at the first file that could not be written, with `failure` naming
    // it and saying why; what a book lacks (no NCX, no package) is not a failure.
    bool SavePackageFiles(const QString& newBookTitle, QString* failure);

    // Drops the guide references that name `file` (a full path): a deleted chapter leaves no
    // reference behind. The package file is written by the next manifest or spine save.
    void DropGuideReferences(const QString& file);

    const QString& GetNCXPath() const { return m_strNCXPath; }
    const QString& GetNCXFolder() const { return m_strNCXFolder; }
    COPFManifestManager& GetManifestManager() { return m_manifestManager; }
    const COPFManifestManager& GetManifestManager() const { return m_manifestManager; }
    COPFSpineManager& GetSpineManager() { return m_spineManager; }
    CPackageNCXManager& GetNCXManager() { return m_ncxManager; }
    const CPackageNCXManager& GetNCXManager() const { return m_ncxManager; }
    CPackageMetadata& GetMetadata() { return m_metadata; }
    const CPackageMetadata& GetMetadata() const { return m_metadata; }
    const COPFSpineManager& GetSpineManager() const { return m_spineManager; }

private:
    QString m_strNCXPath;   // empty when the book has no NCX
    QString m_strNCXFolder; // the NCX file's folder, ending in "/"; set only with an NCX
    CXmlNode m_rootElement;
    std::shared_ptr<CXmlDocument> m_pPackageDocument;
    QString m_strPackageFolder;
    CPackageNCXManager m_ncxManager;
    CPackageMetadata m_metadata;
    // Members are destroyed in reverse order: the spine, then the manifest (which deletes
    // the package folder), then the metadata and the NCX managers that sit above.
    COPFManifestManager m_manifestManager;
    COPFSpineManager m_spineManager;
};
