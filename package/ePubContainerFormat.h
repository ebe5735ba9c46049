#pragma once
// One open book: turns an .epub file into a work folder on disk and packs it back.
#include "package/OpenPackageFormat.h"
#include "package/RootFileManager.h"
#include "package/ZipUnZipWrapper.h"

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

class CePubContainerFormat {
public:
    CePubContainerFormat();
    virtual ~CePubContainerFormat();
    CePubContainerFormat(const CePubContainerFormat&) = delete;
    CePubContainerFormat& operator=(const CePubContainerFormat&) = delete;

    // Checks the book file, unpacks it into a freshly emptied work folder (base + the file's
    // title, or "title(NN)" while another open book holds that folder) and loads the package
    // it names. A file that is not a valid EPUB archive is
    // reported with a message box; a book without META-INF/container.xml is refused
    // silently. A book over a limit (package/BookLimits.h: size, ratio, members, XML depth)
    // is refused with a message that names it, and nothing of it is left in the work folder.
    // Needs the archive library bound (GetZipWrapper().LoadLibraries()).
    bool OpenEpub(const QString& bookFilePath);
    // Opens books from now on with only "mimetype", META-INF/container.xml and the package
    // files the package loader reads written to the work folder; every other member is
    // checked and left in the book file, from which the save copies it (see
    // CZipUnZipWrapper::ExtractAll). For a program that never shows or edits the content.
    void SetUnpackOnDemand(bool onDemand) { m_bUnpackOnDemand = onDemand; }

    // Packs the work folder into `archivePath`: "mimetype" first and stored, then every other
    // file and folder. The target is replaced only by a complete new archive that is on disk;
    // false when it could not be written, leaving any earlier file as it was. A link is
    // followed to the file it names; a device, a pipe or a path inside the work-folder base
    // is refused (GetLastError says why).
    bool SaveEpub(const QString& archivePath);

    // Makes a new book from the fixed skeleton and the program's template chapters in a new
    // work folder ("NewEpub.epub", "NewEpub(01).epub", ...) and loads it like an opened book.
    // False when the folder, a skeleton file or a chapter copy could not be made.
    bool CreateNewEpub();

    // Reads META-INF/container.xml of the work folder and loads the package document it
    // names. A full-path that leads out of the work folder is not used. Where no package
    // can be loaded, the book stays open without one and GetPackageProblem says why.
    void LoadPackage();
    bool HasPackage() const { return m_strPackageProblem.isEmpty() && !m_strWorkFolder.isEmpty(); }
    const QString& GetPackageProblem() const { return m_strPackageProblem; }

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
    // Empty when the file passes that check; otherwise the message that says why not: a
    // missing file, a folder, an unreadable file, a file that is not a ZIP archive, or one
    // that breaks the EPUB container rule.
    static QString CheckBookFile(const QString& bookFilePath);

    // Why the last OpenEpub or SaveEpub failed, as shown to the user; empty after success
    // and after the silent refusal of a book without META-INF/container.xml.
    const QString& GetLastError() const { return m_strLastError; }

private:
    QString FindContainerDocument() const;
    QString ClaimWorkFolder(const QString& base, const QString& title, const QString& bookFile = QString());
    // A book that cannot be opened whole after it was unpacked: says why and takes its copy away.
    bool RefuseUnpackedBook(const QString& bookFilePath, const QString& why);

    // Held while this book uses its work folder, so that another program opening a book of
    // the same title (the editor and lindar-cli, say) never empties it. Declared first so
    // that it is released last.
    std::unique_ptr<QLockFile> m_pWorkFolderLock;
    CZipUnZipWrapper m_zipWrapper;
    COpenPackageFormat m_package;
    QStringList m_memberList;
    QString m_strWorkFolder; // no trailing separator; empty until a book is open
    QString m_strLastError;
    QString m_strPackageProblem; // why the open book has no package; empty when it has one
    bool m_bUnpackOnDemand = false;
    CRootFileManager m_rootFileManager;
};
