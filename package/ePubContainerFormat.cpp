#include "package/ePubContainerFormat.h"

#include "package/NewBookSkeleton.h"
#include "package/WorkFolderLock.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>

namespace {

// The application's title (string 102), the caption of the invalid-book message.
const char* const kApplicationTitle = "Tolvo maker 편집툴";
const char* const kInvalidEpubMessage = "올바른 ePub 압축 파일이 아닙니다.";

constexpr const char* kContainerMember = "META-INF/container.xml";
// Where a ZIP archive's first local header keeps the member name and, for a stored member
// without extra field, its content.
constexpr qint64 kFirstNameOffset = 30;
constexpr qint64 kFirstContentOffset = 38;
const QByteArray kMimetypeName("mimetype");
const QByteArray kEpubMediaType("application/epub+zip");
// How many "title(NN)" names to try when other open books hold the work folders before.
constexpr int kWorkFolderAttempts = 100;

// A path next to `target` that does not exist yet, for writing a new archive before it
// replaces the target.
QString unusedSiblingPath(const QFileInfo& target)
{
    for (;;) {
        const QString candidate = target.absolutePath() + QStringLiteral("/.") + target.fileName()
            + QStringLiteral(".saving-") + QString::number(QRandomGenerator::global()->generate(), 16);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
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

CePubContainerFormat::CePubContainerFormat() = default;

CePubContainerFormat::~CePubContainerFormat() = default;

QString CePubContainerFormat::GetWorkFolderBase(bool withoutTrailingSeparator)
{
    const QString base = platform::LocalAppDataFolder() + QStringLiteral("/ePubModule");
    return withoutTrailingSeparator ? base : base + QLatin1Char('/');
}

bool CePubContainerFormat::IsValidEpubFile(const QString& bookFilePath)
{
    const QFileInfo info(bookFilePath);
    if (info.fileName().size() <= 5)
        return false;
    QFile file(bookFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(kFirstContentOffset + kEpubMediaType.size());
    return head.mid(kFirstNameOffset, kMimetypeName.size()) == kMimetypeName
        && head.mid(kFirstContentOffset, kEpubMediaType.size()) == kEpubMediaType;
}

bool CePubContainerFormat::OpenEpub(const QString& bookFilePath)
{
    if (!IsValidEpubFile(bookFilePath)) {
        platform::ShowMessage(QString::fromUtf8(kInvalidEpubMessage),
                              QString::fromUtf8(kApplicationTitle), platform::MessageButtons::Ok,
                              platform::MessageIcon::Error);
        return false;
    }
    m_strWorkFolder.clear();
    if (!m_zipWrapper.IsLoaded())
        return false;

    m_memberList.clear();
    m_zipWrapper.ListMembers(bookFilePath, m_memberList);

    const QString base = GetWorkFolderBase(true);
    QDir().mkpath(base);
    const QFileInfo book(bookFilePath);
    const QString workFolder = ClaimWorkFolder(base, workFolderTitle(book));
    if (workFolder.isEmpty())
        return false;
    // Files left from an earlier book with the same title must not end up in this one.
    QDir(workFolder).removeRecursively();
    QDir().mkpath(workFolder);
    m_strWorkFolder = workFolder;

    m_zipWrapper.ExtractAll(book.absoluteFilePath(), m_strWorkFolder);

    bool hasContainer = false;
    for (qsizetype i = m_memberList.size() - 1; i >= 0 && !hasContainer; --i)
        hasContainer = m_memberList[i].compare(QLatin1String(kContainerMember), Qt::CaseInsensitive) == 0;
    if (!hasContainer)
        return false;
    LoadPackage();
    return true;
}

QString CePubContainerFormat::ClaimWorkFolder(const QString& base, const QString& title)
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
    m_package.SetWorkFolder(m_strWorkFolder);
    m_rootFileManager.LoadContainer(FindContainerDocument());
    QString relativePath;
    m_rootFileManager.GetPackagePath(relativePath);
    const QString packagePath = QDir::cleanPath(m_strWorkFolder + QLatin1Char('/') + relativePath);
    // The full-path is data from the book: one that leads out of the work folder is not used.
    if (relativePath.isEmpty() || !platform::IsInsideFolder(m_strWorkFolder, packagePath))
        return;
    m_package.LoadPackageDocument(packagePath);
}

bool CePubContainerFormat::SaveEpub(const QString& archivePath)
{
    if (m_strWorkFolder.isEmpty() || archivePath.isEmpty())
        return false;
    const QFileInfo target(archivePath);
    if (!QFileInfo(target.absolutePath()).isDir() || target.isDir())
        return false;
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
    ok = ok
        && std::rename(QFile::encodeName(temporary).constData(),
                       QFile::encodeName(target.absoluteFilePath()).constData()) == 0;
    if (!ok)
        QFile::remove(temporary);
    return ok;
}

bool CePubContainerFormat::CreateNewEpub()
{
    const QString base = GetWorkFolderBase();
    QDir().mkpath(base);
    m_pWorkFolderLock.reset();
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
    LoadPackage();
    return true;
}
