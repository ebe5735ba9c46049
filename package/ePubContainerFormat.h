#pragma once
// One open book: turns an .epub file into a work folder on disk and packs it back.
#include "package/OpenPackageFormat.h"
#include "package/RootFileManager.h"
#include "package/ZipUnZipWrapper.h"

#include <QString>
#include <QStringList>

class CePubContainerFormat {
public:
    CePubContainerFormat();
    virtual ~CePubContainerFormat();
    CePubContainerFormat(const CePubContainerFormat&) = delete;
    CePubContainerFormat& operator=(const CePubContainerFormat&) = delete;

    // Checks the book file, unpacks it into a freshly emptied work folder (base + the file's
    // title) and loads the package it names. A file that is not a valid EPUB archive is
    // reported with a message box; a book without META-INF/container.xml is refused
    // silently. Needs the archive library bound (GetZipWrapper().LoadLibraries()).
    bool OpenEpub(const QString& bookFilePath);

    // Packs the work folder into `archivePath`: "mimetype" first and stored, then every other
    // file and folder. The target is replaced only by a complete new archive; false when it
    // could not be written, leaving any earlier file as it was.
    bool SaveEpub(const QString& archivePath);

    // Makes a new book from the fixed skeleton and the program's template chapters in a new
    // work folder ("NewEpub.epub", "NewEpub(01).epub", ...) and loads it like an opened book.
    // False when the folder, a skeleton file or a chapter copy could not be made.
    bool CreateNewEpub();

    // Reads META-INF/container.xml of the work folder and loads the package document it
    // names. A full-path that leads out of the work folder is not used.
    void LoadPackage();

    // Per-user local application data + "/ePubModule", with a trailing "/" unless asked not to.
    static QString GetWorkFolderBase(bool withoutTrailingSeparator = false);

    const QString& GetWorkFolderPath() const { return m_strWorkFolder; }
    const QStringList& GetMemberList() const { return m_memberList; }
    CZipUnZipWrapper& GetZipWrapper() { return m_zipWrapper; }
    COpenPackageFormat& GetPackage() { return m_package; }
    const COpenPackageFormat& GetPackage() const { return m_package; }

    // True when the file passes the archive check that OpenEpub applies first: a name longer
    // than five characters, and a stored "mimetype" first member with the EPUB media type.
    static bool IsValidEpubFile(const QString& bookFilePath);

private:
    QString FindContainerDocument() const;

    CZipUnZipWrapper m_zipWrapper;
    COpenPackageFormat m_package;
    QStringList m_memberList;
    QString m_strWorkFolder; // no trailing separator; empty until a book is open
    CRootFileManager m_rootFileManager;
};
