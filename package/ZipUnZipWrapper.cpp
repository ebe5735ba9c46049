#include "package/ZipUnZipWrapper.h"

#include "package/ParallelDeflate.h"

#include "platform/core/LegacyEncoding.h"
#include "platform/core/LongWork.h"
#include "platform/core/PathGuard.h"
#include "platform/core/TerminationSignals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <vector>

namespace {

constexpr const char* kMimetypeMember = "mimetype";
constexpr int kDefaultCompressionLevel = 6;
constexpr qint64 kCopyChunk = 256 * 1024;

QByteArray narrow(const QString& path) { return QFile::encodeName(path); }

bool stampOf(const QString& path, CZipUnZipWrapper::FileStamp& stamp)
{
    struct stat info {};
    if (::lstat(narrow(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    stamp.inode = info.st_ino;
    stamp.device = info.st_dev;
    return true;
}

bool isSymbolicLink(zip_t* archive, zip_uint64_t index)
{
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &opsys, &attributes) != 0)
        return false;
    return opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

QString zipErrorText(zip_error_t* error)
{
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_CRC: return QStringLiteral("데이터가 손상되었습니다 (CRC 오류)");
    case ZIP_ER_COMPNOTSUPP: return QStringLiteral("지원하지 않는 압축 방식입니다");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD: return QStringLiteral("암호화된 항목입니다");
    case ZIP_ER_ZLIB: return QStringLiteral("압축 데이터가 손상되었습니다");
    case ZIP_ER_NOZIP: return QStringLiteral("ZIP 압축 파일이 아닙니다");
    default: return QString::fromLocal8Bit(zip_error_strerror(error));
    }
}

QString archiveErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = zipErrorText(&error);
    zip_error_fini(&error);
    return text;
}

const char* const kInterrupted = "중단되었습니다";

QString memberError(const QString& name, const QString& cause)
{
    return QStringLiteral("\"%1\" 항목의 압축을 풀 수 없습니다: %2").arg(name, cause);
}

// Copies one member to `target` (without a target, reads it through to check it); on
// failure says why in `cause` and leaves no partial file. The member may not unpack to
// more than its recorded size: the limits were checked on that.
bool copyMember(zip_t* archive, zip_uint64_t index, const QString& target, QByteArray& buffer,
                QString& cause)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    const zip_uint64_t recorded = zip_stat_index(archive, index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)
        ? stat.size
        : 0;
    zip_uint64_t written = 0;
    zip_file_t* member = zip_fopen_index(archive, index, 0);
    if (!member) {
        cause = zipErrorText(zip_get_error(archive));
        return false;
    }
    QFile out(target);
    const bool writing = !target.isEmpty();
    bool ok = !writing || out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!ok)
        cause = out.errorString();
    while (ok) {
        const zip_int64_t read = zip_fread(member, buffer.data(), zip_uint64_t(buffer.size()));
        if (read < 0) {
            cause = zipErrorText(zip_file_get_error(member));
            ok = false;
        } else if (read == 0) {
            break;
        } else if (platform::TerminationSignal()) {
            cause = QString::fromUtf8(kInterrupted);
            ok = false;
        } else if ((written += zip_uint64_t(read)) > recorded) {
            cause = QStringLiteral("기록된 크기(%1 바이트)보다 크게 풀립니다").arg(recorded);
            ok = false;
        } else if (writing && out.write(buffer.constData(), read) != read) {
            cause = out.errorString();
            ok = false;
        } else {
            platform::LongWorkStep(); // a large picture alone may take longer than a window may wait
        }
    }
    zip_fclose(member);
    if (ok && writing && !out.flush()) {
        cause = out.errorString();
        ok = false;
    }
    if (!ok && writing)
        out.remove();
    return ok;
}

// Why a member's folder could not be made: most often a file of the same name is in the way.
QString folderFailure(const QString& root, const QString& folder)
{
    for (QFileInfo step(folder); step.absoluteFilePath() != root && step.absoluteFilePath() != QLatin1String("/");
         step = QFileInfo(step.path())) {
        if (step.exists() && !step.isDir())
            return QStringLiteral("같은 이름의 파일이 있어 폴더 \"%1\"을(를) 만들 수 없습니다")
                .arg(QDir(root).relativeFilePath(step.absoluteFilePath()));
    }
    return QStringLiteral("폴더를 만들 수 없습니다");
}

// Reads a member's name as its archive wrote it: UTF-8 when flagged so or when the bytes
// are valid UTF-8, else CP949. Other code pages of the 1990s are rarer than Korean tools.
bool memberName(zip_t* archive, zip_uint64_t index, QString& name)
{
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    if (!raw)
        return false;
    const QByteArray bytes(raw);
    if (platform::IsValidUtf8(bytes)) {
        name = QString::fromUtf8(bytes);
        return true;
    }
    QByteArray converted;
    if (!platform::ConvertToUtf8(bytes, "CP949", converted))
        return false;
    name = QString::fromUtf8(converted);
    return true;
}

// libzip refuses a whole archive for the fault of one member (a name flagged as UTF-8 that
// is not, an unknown compression method): find that member in the central directory, so
// that the message can name it.
QString findInconsistentMember(const QString& archivePath)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 tail = qMin<qint64>(file.size(), 65535 + 22);
    file.seek(file.size() - tail);
    const QByteArray end = file.read(tail);
    const qsizetype eocd = end.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (eocd < 0 || eocd + 22 > end.size())
        return {};
    auto u16 = [](const QByteArray& b, qsizetype at) {
        return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8;
    };
    auto u32 = [&](const QByteArray& b, qsizetype at) { return u16(b, at) | u16(b, at + 2) << 16; };
    const quint32 entries = u16(end, eocd + 10);
    const qint64 size = u32(end, eocd + 12);
    const qint64 offset = u32(end, eocd + 16);
    // The sizes come from the file: a directory claimed to lie past its end is not read.
    if (offset + size > file.size())
        return {};
    file.seek(offset);
    const QByteArray directory = file.read(size);
    qsizetype at = 0;
    for (quint32 entry = 0; entry < entries && at + 46 <= directory.size(); ++entry) {
        if (u32(directory, at) != 0x02014b50)
            break;
        const quint32 flags = u16(directory, at + 8);
        const quint32 method = u16(directory, at + 10);
        const quint32 nameLength = u16(directory, at + 28);
        const QByteArray name = directory.mid(at + 46, nameLength);
        if ((flags & 0x0800) && !platform::IsValidUtf8(name))
            return QStringLiteral("항목 %1의 이름(%2)은 UTF-8로 표시되어 있지만 올바른 UTF-8이 아닙니다")
                .arg(entry + 1)
                .arg(QString::fromLatin1(name.toPercentEncoding("/.-_ ")));
        if (!zip_compression_method_supported(zip_int32_t(method), 0))
            return memberError(QString::fromUtf8(name), QStringLiteral("지원하지 않는 압축 방식(%1)입니다").arg(method));
        at += 46 + nameLength + u16(directory, at + 30) + u16(directory, at + 32);
    }
    return {};
}

// Files and folders below `folder`, as names relative to `root` (folders end in "/"),
// in no particular order.
void collectEntries(const QDir& root, const QString& folder, QStringList& out)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink())
            continue; // a link could lead out of the work folder
        const QString relative = root.relativeFilePath(entry.absoluteFilePath());
        if (entry.isDir()) {
            out.append(relative + QLatin1Char('/'));
            collectEntries(root, entry.absoluteFilePath(), out);
        } else if (entry.isFile()) {
            out.append(relative);
        }
    }
}

// The order members are packed in, so that archives come out the same every time: folders
// before their contents, each level sorted by name ("/" sorts before every character).
bool walkOrder(const QString& a, const QString& b)
{
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x != y)
            return x == u'/' || (y != u'/' && x < y);
    }
    return a.size() < b.size();
}

} // namespace

CZipUnZipWrapper::CZipUnZipWrapper() = default;

CZipUnZipWrapper::~CZipUnZipWrapper() { FreeLibraries(); }

bool CZipUnZipWrapper::LoadLibraries()
{
    // The library is linked in; binding means checking that it answers.
    m_bLoaded = zip_libzip_version() != nullptr;
    return m_bLoaded;
}

void CZipUnZipWrapper::FreeLibraries()
{
    m_bLoaded = false;
    m_bZipInitialised = false;
    m_nCompressionLevel = 0;
}

bool CZipUnZipWrapper::InitZip()
{
    if (!m_bLoaded)
        return false;
    m_nCompressionLevel = kDefaultCompressionLevel;
    m_bZipInitialised = true;
    return true;
}

zip_t* CZipUnZipWrapper::OpenForReading(const QString& archive)
{
    int error = 0;
    zip_t* zip = zip_open(narrow(archive).constData(), ZIP_RDONLY, &error);
    if (!zip) {
        QString cause = error == ZIP_ER_INCONS ? findInconsistentMember(archive) : QString();
        m_strLastError = cause.isEmpty() ? archiveErrorText(error) : cause;
    }
    return zip;
}

bool CZipUnZipWrapper::ListMembers(const QString& archive, QStringList& members)
{
    m_strLastError.clear();
    if (!m_bLoaded)
        return false;
    zip_t* zip = OpenForReading(archive);
    if (!zip)
        return false;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    bool ok = count <= m_limits.maxMembers;
    if (!ok)
        m_strLastError = QStringLiteral("항목이 %1개로 한도(%2개)를 넘습니다").arg(count).arg(m_limits.maxMembers);
    QStringList names;
    for (zip_int64_t i = 0; i < count && ok; ++i) {
        QString name;
        ok = memberName(zip, zip_uint64_t(i), name);
        if (ok)
            names.append(name);
        else
            m_strLastError = QStringLiteral("항목 %1의 이름을 읽을 수 없습니다 (UTF-8도 CP949도 아닙니다)").arg(i + 1);
    }
    ok = ok && CheckLimits(zip, names);
    zip_discard(zip);
    if (ok)
        members += names;
    return ok;
}

void CZipUnZipWrapper::ForgetExtractedMembers()
{
    m_extracted.clear();
    m_left.clear();
    m_strExtractedRoot.clear();
    m_strSourceArchive.clear();
    m_sourceStamp = {};
}

// Sizes as the central directory records them; ExtractAll holds each member to its own.
bool CZipUnZipWrapper::CheckLimits(zip_t* archive, const QStringList& names)
{
    QSet<QString> seen;
    seen.reserve(names.size());
    qint64 total = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        // Only one of two same-named members could be unpacked, and a save would lose the other.
        if (seen.contains(name)) {
            m_strLastError = QStringLiteral("\"%1\" 항목이 두 번 들어 있습니다").arg(name);
            return false;
        }
        seen.insert(name);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)
            || !(stat.valid & ZIP_STAT_COMP_SIZE)) {
            m_strLastError = memberError(name, zipErrorText(zip_get_error(archive)));
            return false;
        }
        const qint64 size = stat.size > zip_uint64_t(m_limits.maxUnpackedBytes) ? m_limits.maxUnpackedBytes + 1
                                                                                 : qint64(stat.size);
        total += size;
        if (total > m_limits.maxUnpackedBytes) {
            m_strLastError = QStringLiteral("풀린 크기가 한도(%1 MiB)를 넘습니다 (\"%2\" 항목에서)")
                                 .arg(m_limits.maxUnpackedBytes / (1024 * 1024))
                                 .arg(name);
            return false;
        }
        if (size >= m_limits.ratioFloorBytes
            && stat.comp_size < zip_uint64_t(size) / zip_uint64_t(m_limits.maxMemberRatio)) {
            m_strLastError = QStringLiteral("\"%1\" 항목은 %2 바이트가 %3 바이트로 풀려 압축률 한도(1:%4)를 넘습니다")
                                 .arg(name)
                                 .arg(stat.comp_size)
                                 .arg(stat.size)
                                 .arg(m_limits.maxMemberRatio);
            return false;
        }
    }
    return true;
}

bool CZipUnZipWrapper::ExtractAll(const QString& archive, const QString& folder, const UnpackFilter& unpackNow)
{
    m_skippedMembers.clear();
    m_strLastError.clear();
    ForgetExtractedMembers();
    if (!m_bLoaded || folder.isEmpty())
        return false;
    FileStamp sourceStamp;
    const bool stamped = stampOf(archive, sourceStamp);
    // Members left in the archive are copied from it by the save: it must be recognisable.
    const UnpackFilter filter = stamped ? unpackNow : UnpackFilter();
    zip_t* zip = OpenForReading(archive);
    if (!zip)
        return false;
    const QString root = QDir::cleanPath(folder);
    const QString rootPrefix = root + QLatin1Char('/');
    QSet<QString> verifiedFolders;
    // What the work folder would hold if the members left in the archive were on disk: a
    // folder where one of them lies, or one of them where a folder lies, fails as it would.
    QSet<QString> madeFolders;
    auto leftFileInTheWay = [&](const QString& parent) {
        for (QString step = parent; step.size() > root.size(); step = QFileInfo(step).path()) {
            if (m_left.contains(step.mid(rootPrefix.size())))
                return step;
        }
        return QString();
    };
    QByteArray buffer(kCopyChunk, Qt::Uninitialized);
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count && m_strLastError.isEmpty(); ++i) {
        if (platform::TerminationSignal()) {
            m_strLastError = QString::fromUtf8(kInterrupted);
            break;
        }
        platform::LongWorkStep(i, count);
        QString name;
        if (!memberName(zip, zip_uint64_t(i), name)) {
            m_strLastError = QStringLiteral("항목 %1의 이름을 읽을 수 없습니다 (UTF-8도 CP949도 아닙니다)").arg(i + 1);
            break;
        }
        const bool isFolder = name.endsWith(QLatin1Char('/'));
        const QString target = QDir::cleanPath(root + QLatin1Char('/') + name);
        const QString parent = isFolder ? target : QFileInfo(target).path();
        if (!platform::IsSafeRelativePath(name) || isSymbolicLink(zip, zip_uint64_t(i))
            || target == root) {
            m_skippedMembers.append(name);
            continue;
        }
        // Each folder is checked once: resolving it on disk is the costly part of a large book.
        if (!verifiedFolders.contains(parent)) {
            if (!platform::IsInsideFolder(root, parent)) {
                m_skippedMembers.append(name);
                continue;
            }
            const QString inTheWay = leftFileInTheWay(parent);
            if (!inTheWay.isEmpty()) {
                m_strLastError = memberError(
                    name, QStringLiteral("같은 이름의 파일이 있어 폴더 \"%1\"을(를) 만들 수 없습니다")
                              .arg(QDir(root).relativeFilePath(inTheWay)));
                break;
            }
            if (!QDir().mkpath(parent) || !platform::IsInsideFolder(root, parent)) {
                m_strLastError = memberError(name, folderFailure(root, parent));
                break;
            }
            verifiedFolders.insert(parent);
            if (filter) {
                for (QString step = parent; step.size() > root.size() && !madeFolders.contains(step);
                     step = QFileInfo(step).path())
                    madeFolders.insert(step);
            }
        }
        if (isFolder)
            continue;
        const QString relative = target.mid(rootPrefix.size());
        ExtractedMember extracted{zip_uint64_t(i), false, {}};
        zip_stat_t stat;
        zip_stat_init(&stat);
        extracted.stored = zip_stat_index(zip, zip_uint64_t(i), 0, &stat) == 0 && (stat.valid & ZIP_STAT_COMP_METHOD)
            && stat.comp_method == ZIP_CM_STORE;
        if (filter && !filter(relative)) {
            if (madeFolders.contains(target)) {
                m_strLastError = memberError(name, QStringLiteral("같은 이름의 폴더가 있습니다"));
                break;
            }
            QString cause;
            if (!copyMember(zip, zip_uint64_t(i), QString(), buffer, cause)) {
                m_strLastError = memberError(name, cause);
                break;
            }
            m_left.insert(relative, extracted);
            continue;
        }
        const QFileInfo existing(target);
        if (existing.isSymLink()) {
            m_skippedMembers.append(name);
            continue;
        }
        if (existing.isDir()) {
            m_strLastError = memberError(name, QStringLiteral("같은 이름의 폴더가 있습니다"));
            break;
        }
        QString cause;
        if (!copyMember(zip, zip_uint64_t(i), target, buffer, cause)) {
            m_strLastError = memberError(name, cause);
            break;
        }
        if (stampOf(target, extracted.written))
            m_extracted.insert(name, extracted);
    }
    zip_discard(zip);
    if (!m_strLastError.isEmpty() || !stamped) {
        ForgetExtractedMembers();
    } else {
        m_strSourceArchive = QFileInfo(archive).absoluteFilePath();
        m_sourceStamp = sourceStamp;
        m_strExtractedRoot = root;
    }
    return m_strLastError.isEmpty();
}

bool CZipUnZipWrapper::IsLeftInArchive(const QString& path) const
{
    const QString clean = QDir::cleanPath(path);
    return !m_left.isEmpty() && clean.startsWith(m_strExtractedRoot + QLatin1Char('/'))
        && m_left.contains(clean.mid(m_strExtractedRoot.size() + 1));
}

bool CZipUnZipWrapper::UnpackLeftMember(const QString& path)
{
    if (!IsLeftInArchive(path))
        return false;
    const QString target = QDir::cleanPath(path);
    const QString relative = target.mid(m_strExtractedRoot.size() + 1);
    ExtractedMember member = m_left.value(relative);
    // Whatever took the member's place since the open stays, as a file written then would.
    struct stat info {};
    if (::lstat(narrow(target).constData(), &info) == 0) {
        m_left.remove(relative);
        return false;
    }
    zip_t* source = OpenUnchangedSource();
    if (!source)
        return false;
    QByteArray buffer(kCopyChunk, Qt::Uninitialized);
    QString cause;
    const bool ok = copyMember(source, member.index, target, buffer, cause) && stampOf(target, member.written);
    zip_discard(source);
    if (!ok)
        return false;
    m_left.remove(relative);
    m_extracted.insert(relative, member);
    return true;
}

zip_t* CZipUnZipWrapper::OpenUnchangedSource() const
{
    FileStamp now;
    if (m_strSourceArchive.isEmpty() || !stampOf(m_strSourceArchive, now) || !(now == m_sourceStamp))
        return nullptr;
    int error = 0;
    return zip_open(narrow(m_strSourceArchive).constData(), ZIP_RDONLY, &error);
}

bool CZipUnZipWrapper::ArchivePass(const QString& rootFolder, const QString& pattern,
                                   const QString& archive)
{
    if (!m_bLoaded || !m_bZipInitialised || rootFolder.isEmpty() || pattern.isEmpty())
        return false;
    const QDir root(QDir::cleanPath(rootFolder));
    const QString archivePath = QFileInfo(archive).absoluteFilePath();

    QStringList names;
    const bool everything = pattern == QLatin1String("*.*");
    // Members left in the archive whose place no file has taken since.
    QSet<QString> left;
    if (everything) {
        collectEntries(root, root.absolutePath(), names);
        if (!m_left.isEmpty() && QDir::cleanPath(rootFolder) == m_strExtractedRoot) {
            // What the walk found takes the place of a member of that name (a folder too).
            const QSet<QString> onDisk(names.cbegin(), names.cend());
            for (auto member = m_left.cbegin(); member != m_left.cend(); ++member) {
                if (!onDisk.contains(member.key()) && !onDisk.contains(member.key() + QLatin1Char('/'))) {
                    left.insert(member.key());
                    names.append(member.key());
                }
            }
        }
        std::sort(names.begin(), names.end(), walkOrder);
    } else {
        const QFileInfo single(root.absoluteFilePath(pattern));
        if (!platform::IsSafeRelativePath(pattern) || single.isSymLink() || !single.isFile())
            return false;
        names.append(root.relativeFilePath(single.absoluteFilePath()));
    }

    int error = 0;
    zip_t* zip = zip_open(narrow(archivePath).constData(), ZIP_CREATE, &error);
    if (!zip)
        return false;
    // Read while the new archive is written, so it stays open until that is closed.
    zip_t* source = OpenUnchangedSource();
    if (!left.isEmpty() && !source) {
        zip_discard(zip);
        return false;
    }

    // Each file is either copied from the book as it is compressed there, or deflated here:
    // those are deflated first, on every core, and the archive then only copies them too.
    struct Entry {
        QString name;
        QString filePath;
        const ExtractedMember* copyFrom = nullptr;
        qsizetype deflated = -1; // index into `deflated`, when deflated ahead
    };
    QList<Entry> entries;
    QStringList toDeflate;
    qint64 deflatedAhead = 0;
    for (const QString& name : std::as_const(names)) {
        Entry entry{name, root.absoluteFilePath(name)};
        if (entry.filePath == archivePath)
            continue;
        const bool file = !name.endsWith(QLatin1Char('/'));
        if (left.contains(name)) {
            entry.copyFrom = &m_left.constFind(name).value();
            entries.append(entry);
            continue;
        }
        if (file && source && name != QLatin1String(kMimetypeMember)) {
            const auto extracted = m_extracted.constFind(name);
            FileStamp now;
            if (extracted != m_extracted.cend() && stampOf(entry.filePath, now) && now == extracted->written)
                entry.copyFrom = &extracted.value();
        }
        const qint64 size = file ? QFileInfo(entry.filePath).size() : 0;
        if (file && !entry.copyFrom && name != QLatin1String(kMimetypeMember)
            && size <= ParallelDeflate::kLargestFile && deflatedAhead + size <= ParallelDeflate::kMostAhead) {
            entry.deflated = toDeflate.size();
            toDeflate.append(entry.filePath);
            deflatedAhead += size;
        }
        entries.append(entry);
    }
    QList<ParallelDeflate::Deflated> deflated = ParallelDeflate::DeflateFiles(toDeflate, m_nCompressionLevel);

    // The archive library lists every source that reads from the book and searches that list
    // from its front for each one it frees: freed in the order the archive frees them, that
    // is quadratic in the members copied (a third of a large save's time at 100,000). Each
    // is held here once more and freed last, in the order that finds it first in the list.
    std::vector<zip_source_t*> copies;
    copies.reserve(std::size_t(entries.size()));
    // A program told to stop gives up the archive: the caller removes what was written.
    zip_register_cancel_callback_with_state(
        zip, [](zip_t*, void*) { return platform::TerminationSignal(); }, nullptr, nullptr);
    bool ok = true;
    for (const Entry& entry : std::as_const(entries)) {
        if (platform::TerminationSignal()) {
            ok = false;
            break;
        }
        const QByteArray memberName = entry.name.toUtf8();
        if (entry.name.endsWith(QLatin1Char('/'))) {
            if (zip_name_locate(zip, memberName.constData(), 0) < 0
                && zip_dir_add(zip, memberName.constData(), ZIP_FL_ENC_UTF_8) < 0)
                ok = false;
            continue;
        }
        // A stored mimetype keeps its content at a fixed offset, where readers look for it.
        const bool store = memberName == kMimetypeMember || (entry.copyFrom && entry.copyFrom->stored);
        bool compressed = false;
        zip_source_t* data = nullptr;
        if (entry.copyFrom) {
            data = zip_source_zip(zip, source, entry.copyFrom->index, 0, 0, -1);
            compressed = true;
            if (data) {
                zip_source_keep(data);
                copies.push_back(data);
            }
        } else if (entry.deflated >= 0 && deflated[entry.deflated].ok) {
            data = ParallelDeflate::MakeSource(zip, std::move(deflated[entry.deflated]));
            compressed = true;
        }
        if (!data) {
            compressed = false;
            data = zip_source_file(zip, narrow(entry.filePath).constData(), 0, -1);
        }
        if (!data) {
            ok = false;
            break;
        }
        const zip_int64_t index = zip_file_add(zip, memberName.constData(), data,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(data);
            ok = false;
            break;
        }
        // Data handed over compressed keeps its method; stored data given as compressed
        // would be deflated by the library unless told to keep it stored.
        if (!compressed || store)
            zip_set_file_compression(zip, zip_uint64_t(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     store ? 0 : zip_uint32_t(m_nCompressionLevel));
    }
    ok = ok && zip_close(zip) == 0;
    if (!ok)
        zip_discard(zip);
    // The first one sits at the front of the book's list; each one freed from the end of
    // the list then takes its place there.
    if (!copies.empty()) {
        zip_source_free(copies.front());
        for (auto copy = copies.rbegin(); copy + 1 != copies.rend(); ++copy)
            zip_source_free(*copy);
    }
    if (source)
        zip_discard(source);
    return ok;
}
