#include "package/ePubContainerFormat.h"

#include "package/NewBookSkeleton.h"
#include "package/WorkFolderLock.h"
#include "package/XmlDocument.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/LongWork.h"
#include "platform/core/MessageBox.h"
#include "platform/core/PathGuard.h"
#include "platform/core/TerminationSignals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

// The application's title (string 102), the caption of the invalid-book message.
const char* const kApplicationTitle = "Tolvo maker 편집툴";
const char* const kInvalidEpubMessage = "올바른 ePub 압축 파일이 아닙니다.";
const char* const kMissingFileMessage = "파일이 존재하지 않습니다.\n%1";
const char* const kFolderMessage = "ePub 파일이 아니라 폴더입니다.\n%1";
const char* const kUnreadableMessage = "파일을 읽을 수 없습니다: %2\n%1";
const char* const kNotZipMessage = "ZIP 압축 파일이 아닙니다.\n%1";
const char* const kUnpackMessage = "ePub 파일을 열 수 없습니다. %2\n%1";

constexpr const char* kContainerMember = "META-INF/container.xml";
// Where a ZIP archive's first local header keeps the member name and, for a stored member
// without extra field, its content.
constexpr qint64 kFirstNameOffset = 30;
constexpr qint64 kFirstContentOffset = 38;
const QByteArray kMimetypeName("mimetype");
const QByteArray kEpubMediaType("application/epub+zip");
const QByteArray kZipLocalHeader("PK\x03\x04", 4);
// How many "title(NN)" names to try when other open books hold the work folders before.
constexpr int kWorkFolderAttempts = 100;

constexpr const char* kSavingPrefix = ".lindar-saving-";
const char* const kSpecialTargetMessage = "일반 파일이 아닌 곳에는 저장할 수 없습니다.\n%1";
const char* const kTargetInWorkFolderMessage = "작업 폴더 안에는 저장할 수 없습니다.\n%1";
const char* const kNoTargetFolderMessage = "저장할 폴더가 없습니다.\n%1";
const char* const kWriteFailedMessage = "ePub 파일을 저장할 수 없습니다.\n%1";

// A path next to `target` that does not exist yet, for writing a new archive before it
// replaces the target. It names this process, so that a later save can tell the leftovers
// of a killed save from the work of a save still running.
QString unusedSiblingPath(const QFileInfo& target)
{
    for (;;) {
        const QString candidate = target.absolutePath() + QLatin1Char('/') + QLatin1String(kSavingPrefix)
            + QString::number(::getpid()) + QLatin1Char('-')
            + QString::number(QRandomGenerator::global()->generate(), 16);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

// Removes the temporary archives that saves of processes no longer alive left in `folder`.
void removeStaleTemporaries(const QString& folder)
{
    const QStringList names = QDir(folder).entryList({QLatin1String(kSavingPrefix) + QLatin1Char('*')},
                                                     QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        bool numeric = false;
        const pid_t pid = name.mid(qsizetype(std::strlen(kSavingPrefix))).section(QLatin1Char('-'), 0, 0).toInt(&numeric);
        if (numeric && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(folder + QLatin1Char('/') + name);
    }
}

// The file a save writes: a link is followed to the file it names, so that the link stays.
QString followLinks(const QString& path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40 && QFileInfo(current).isSymLink(); ++hop)
        current = QFileInfo(current).symLinkTarget();
    return current;
}

bool syncFile(const QString& path, bool folder)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return false;
    const bool ok = (folder ? ::fsync(fd) : ::fdatasync(fd)) == 0;
    ::close(fd);
    return ok;
}

void showError(const QString& text)
{
    platform::ShowMessage(text, QString::fromUtf8(kApplicationTitle), platform::MessageButtons::Ok,
                          platform::MessageIcon::Error);
}

// The title of a book file, as it names the work folder. A title that would name the base
// itself or its parent falls back to the whole file name.
QString workFolderTitle(const QFileInfo& book)
{
    const QString title = book.completeBaseName();
    if (title.isEmpty() || title == QLatin1String(".") || title == QLatin1String(".."))
        return book.fileName();
    return title;
}

} // namespace

CePubContainerFormat::CePubContainerFormat()
{
    m_package.GetOPFManager().GetManifestManager().SetMembersLeftInArchive(&m_zipWrapper);
}

CePubContainerFormat::~CePubContainerFormat() = default;

QString CePubContainerFormat::GetWorkFolderBase(bool withoutTrailingSeparator)
{
    const QString base = platform::LocalAppDataFolder() + QStringLiteral("/ePubModule");
    return withoutTrailingSeparator ? base : base + QLatin1Char('/');
}

bool CePubContainerFormat::IsValidEpubFile(const QString& bookFilePath)
{
    return CheckBookFile(bookFilePath).isEmpty();
}

QString CePubContainerFormat::CheckBookFile(const QString& bookFilePath)
{
    const QFileInfo info(bookFilePath);
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.exists())
        return QString::fromUtf8(kMissingFileMessage).arg(shown);
    if (info.isDir())
        return QString::fromUtf8(kFolderMessage).arg(shown);
    QFile file(bookFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return QString::fromUtf8(kUnreadableMessage).arg(shown, file.errorString());
    const QByteArray head = file.read(kFirstContentOffset + kEpubMediaType.size());
    if (!head.startsWith(kZipLocalHeader))
        return QString::fromUtf8(kNotZipMessage).arg(shown);
    if (info.fileName().size() <= 5 || head.mid(kFirstNameOffset, kMimetypeName.size()) != kMimetypeName
        || head.mid(kFirstContentOffset, kEpubMediaType.size()) != kEpubMediaType)
        return QString::fromUtf8(kInvalidEpubMessage);
    return {};
}

bool CePubContainerFormat::OpenEpub(const QString& bookFilePath)
{
    m_strLastError = CheckBookFile(bookFilePath);
    if (!m_strLastError.isEmpty()) {
        showError(m_strLastError);
        return false;
    }
    m_strWorkFolder.clear();
    if (!m_zipWrapper.IsLoaded())
        return false;

    // Emptying the work folder would delete a book file that lies inside it, so such a file
    // is opened from a copy.
    const QFileInfo book(bookFilePath);
    const QString base = GetWorkFolderBase(true);
    QString source = book.absoluteFilePath();
    std::unique_ptr<QTemporaryDir> copyFolder;
    if (platform::IsInsideFolder(base, source)) {
        copyFolder = std::make_unique<QTemporaryDir>();
        const QString copy = copyFolder->filePath(QStringLiteral("book.epub"));
        if (!copyFolder->isValid() || !QFile::copy(source, copy)) {
            m_strLastError = QString::fromUtf8(kUnreadableMessage)
                                 .arg(QDir::toNativeSeparators(source), QStringLiteral("copy failed"));
            showError(m_strLastError);
            return false;
        }
        source = copy;
    }

    m_memberList.clear();
    if (!m_zipWrapper.ListMembers(source, m_memberList)) {
        m_strLastError = QString::fromUtf8(kUnpackMessage)
                             .arg(QDir::toNativeSeparators(book.absoluteFilePath()), m_zipWrapper.GetLastError());
        showError(m_strLastError);
        return false;
    }

    QDir().mkpath(base);
    const QString workFolder = ClaimWorkFolder(base, workFolderTitle(book), book.absoluteFilePath());
    if (workFolder.isEmpty())
        return false;
    // Files left from an earlier book with the same title must not end up in this one.
    QDir(workFolder).removeRecursively();
    QDir().mkpath(workFolder);
    m_strWorkFolder = workFolder;

    // A book missing one of its members is not this book: saving it would lose that member
    // for good, so the open fails and takes its partial copy away.
    // A copy is gone once the open is done, so nothing can be left in it.
    CZipUnZipWrapper::UnpackFilter unpackNow;
    if (m_bUnpackOnDemand && !copyFolder) {
        unpackNow = [](const QString& relativePath) {
            return relativePath == QLatin1String("mimetype")
                || relativePath.compare(QLatin1String(kContainerMember), Qt::CaseInsensitive) == 0;
        };
    }
    if (!m_zipWrapper.ExtractAll(source, m_strWorkFolder, unpackNow))
        return RefuseUnpackedBook(book.absoluteFilePath(), m_zipWrapper.GetLastError());

    platform::LongWorkStep();
    bool hasContainer = false;
    for (qsizetype i = m_memberList.size() - 1; i >= 0 && !hasContainer; --i)
        hasContainer = m_memberList[i].compare(QLatin1String(kContainerMember), Qt::CaseInsensitive) == 0;
    if (!hasContainer)
        return false;
    m_package.GetOPFManager().GetMetadata().SetDropSkeletonPlaceholders(false);
    CXmlDocument::TakeLimitProblem(); // a refusal from before is not this book's
    LoadPackage();
    // Half a package is not this book either: a save would write the rest away.
    const QString limitProblem = CXmlDocument::TakeLimitProblem();
    if (!limitProblem.isEmpty())
        return RefuseUnpackedBook(book.absoluteFilePath(), limitProblem);
    return true;
}

bool CePubContainerFormat::RefuseUnpackedBook(const QString& bookFilePath, const QString& why)
{
    m_strLastError = QString::fromUtf8(kUnpackMessage).arg(QDir::toNativeSeparators(bookFilePath), why);
    QDir(m_strWorkFolder).removeRecursively();
    m_strWorkFolder.clear();
    m_pWorkFolderLock.reset();
    showError(m_strLastError);
    return false;
}

QString CePubContainerFormat::ClaimWorkFolder(const QString& base, const QString& title, const QString& bookFile)
{
    m_pWorkFolderLock.reset();
    const QString cleanBase = QDir::cleanPath(base);
    for (int attempt = 0; attempt < kWorkFolderAttempts; ++attempt) {
        const QString name = attempt == 0
            ? title
            : QStringLiteral("%1(%2)").arg(title).arg(attempt, 2, 10, QLatin1Char('0'));
        const QString candidate = QDir::cleanPath(cleanBase + QLatin1Char('/') + name);
        if (candidate == cleanBase || !platform::IsInsideFolder(cleanBase, candidate))
            return QString();
        // The folder is emptied now and removed at close: never the one holding the book.
        if (!bookFile.isEmpty() && platform::IsInsideFolder(candidate, bookFile))
            continue;
        if (auto lock = ClaimWorkFolderLock(candidate)) {
            m_pWorkFolderLock = std::move(lock);
            return candidate;
        }
    }
    return QString();
}

QString CePubContainerFormat::FindContainerDocument() const
{
    const QString exact = m_strWorkFolder + QLatin1Char('/') + QLatin1String(kContainerMember);
    if (QFileInfo::exists(exact))
        return exact;
    // The container check ignores letter case, and so does finding the file it checked.
    const QFileInfoList folders = QDir(m_strWorkFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        if (folder.fileName().compare(QLatin1String("META-INF"), Qt::CaseInsensitive) != 0)
            continue;
        const QFileInfoList files = QDir(folder.filePath()).entryInfoList(QDir::Files);
        for (const QFileInfo& file : files) {
            if (file.fileName().compare(QLatin1String("container.xml"), Qt::CaseInsensitive) == 0)
                return file.filePath();
        }
    }
    return exact;
}

void CePubContainerFormat::LoadPackage()
{
    m_strPackageProblem.clear();
    m_package.SetWorkFolder(m_strWorkFolder);
    const QString containerPath = FindContainerDocument();
    if (!m_rootFileManager.LoadContainer(containerPath)) {
        m_strPackageProblem = QFileInfo::exists(containerPath)
            ? QStringLiteral("META-INF/container.xml을 읽을 수 없거나 rootfile이 없습니다.")
            : QStringLiteral("META-INF/container.xml이 없습니다.");
        return;
    }
    QString relativePath;
    m_rootFileManager.GetPackagePath(relativePath);
    if (relativePath.isEmpty()) {
        m_strPackageProblem = QStringLiteral(
            "META-INF/container.xml에 media-type이 \"application/oebps-package+xml\"이고 full-path가 있는 rootfile이 없습니다.");
        return;
    }
    const QString packagePath = QDir::cleanPath(m_strWorkFolder + QLatin1Char('/') + relativePath);
    // The full-path is data from the book: one that leads out of the work folder is not used.
    if (!platform::IsInsideFolder(m_strWorkFolder, packagePath) || packagePath == QDir::cleanPath(m_strWorkFolder)) {
        m_strPackageProblem = QStringLiteral("패키지 파일 경로 \"%1\"이(가) 책 밖을 가리킵니다.").arg(relativePath);
        return;
    }
    m_zipWrapper.UnpackLeftMember(packagePath);
    if (!QFileInfo(packagePath).isFile()) {
        m_strPackageProblem = QStringLiteral("패키지 파일 \"%1\"이(가) 책에 없습니다.").arg(relativePath);
        return;
    }
    if (!m_package.LoadPackageDocument(packagePath))
        m_strPackageProblem = QStringLiteral("패키지 파일 \"%1\"을(를) 읽을 수 없습니다 (올바른 XML이 아닙니다).").arg(relativePath);
}

bool CePubContainerFormat::SaveEpub(const QString& archivePath)
{
    m_strLastError.clear();
    if (m_strWorkFolder.isEmpty() || archivePath.isEmpty())
        return false;
    const QFileInfo target(followLinks(archivePath));
    const QString shown = QDir::toNativeSeparators(target.absoluteFilePath());
    auto fail = [this, &shown](const char* message) {
        m_strLastError = QString::fromUtf8(message).arg(shown);
        return false;
    };
    if (!QFileInfo(target.absolutePath()).isDir())
        return fail(kNoTargetFolderMessage);
    // A device or a pipe would be replaced by a regular file; a folder cannot hold a book.
    if (target.exists() && !target.isFile())
        return fail(kSpecialTargetMessage);
    // Work folders are emptied when their books close: a book saved there would vanish.
    if (platform::IsInsideFolder(GetWorkFolderBase(true), target.absoluteFilePath()))
        return fail(kTargetInWorkFolderMessage);

    removeStaleTemporaries(target.absolutePath());
    // The new archive is built beside the target and only then replaces it, so a failed or
    // interrupted save leaves the earlier file whole, and no member of it is carried over.
    const QString temporary = unusedSiblingPath(target);

    bool ok = m_zipWrapper.LoadLibraries() && m_zipWrapper.InitZip()
        && m_zipWrapper.ArchivePass(m_strWorkFolder, QStringLiteral("mimetype"), temporary);
    m_zipWrapper.FreeLibraries();
    ok = ok && m_zipWrapper.LoadLibraries() && m_zipWrapper.InitZip()
        && m_zipWrapper.ArchivePass(m_strWorkFolder, QStringLiteral("*.*"), temporary);
    m_zipWrapper.FreeLibraries();

    if (ok && target.exists())
        QFile::setPermissions(temporary, QFile::permissions(target.absoluteFilePath()));
    // On disk before it takes the old file's name, and the name change on disk before the
    // save reports success: a crash then leaves one whole book or the other.
    // A save told to stop now leaves the target as it was rather than half-decided.
    ok = ok && syncFile(temporary, false) && !platform::TerminationSignal()
        && std::rename(QFile::encodeName(temporary).constData(),
                       QFile::encodeName(target.absoluteFilePath()).constData()) == 0;
    if (!ok) {
        QFile::remove(temporary);
        return fail(kWriteFailedMessage);
    }
    syncFile(target.absolutePath(), true);
    return true;
}

bool CePubContainerFormat::CreateNewEpub()
{
    const QString base = GetWorkFolderBase();
    QDir().mkpath(base);
    m_pWorkFolderLock.reset();
    m_zipWrapper.ForgetExtractedMembers(); // a new book has no archive to copy from
    m_strWorkFolder = CNewBookSkeleton::MakeNewWorkFolder(base);
    if (m_strWorkFolder.isEmpty())
        return false;
    // Held like an opened book's, so that opening a book whose title is this folder's name
    // never empties the new book.
    m_pWorkFolderLock = ClaimWorkFolderLock(m_strWorkFolder);
    if (!CNewBookSkeleton::WriteSkeletonFiles(m_strWorkFolder)
        || !CNewBookSkeleton::CopyTemplateChapters(m_strWorkFolder))
        return false;
    m_memberList.append(CNewBookSkeleton::MemberNames());
    m_package.GetOPFManager().GetMetadata().SetDropSkeletonPlaceholders(true);
    LoadPackage();
    return true;
}
