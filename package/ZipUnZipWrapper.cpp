#include "package/ZipUnZipWrapper.h"

#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <zip.h>

namespace {

constexpr const char* kMimetypeMember = "mimetype";
constexpr int kDefaultCompressionLevel = 6;
constexpr qint64 kCopyChunk = 256 * 1024;

QByteArray narrow(const QString& path) { return QFile::encodeName(path); }

bool isSymbolicLink(zip_t* archive, zip_uint64_t index)
{
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &opsys, &attributes) != 0)
        return false;
    return opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

bool copyMember(zip_t* archive, zip_uint64_t index, const QString& target)
{
    zip_file_t* member = zip_fopen_index(archive, index, 0);
    if (!member)
        return false;
    QFile out(target);
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray buffer(kCopyChunk, Qt::Uninitialized);
    while (ok) {
        const zip_int64_t read = zip_fread(member, buffer.data(), zip_uint64_t(buffer.size()));
        if (read < 0)
            ok = false;
        else if (read == 0)
            break;
        else
            ok = out.write(buffer.constData(), read) == read;
    }
    zip_fclose(member);
    if (!ok)
        out.remove();
    return ok;
}

// Files and folders below `folder`, as names relative to `root`, folders before their
// contents and each level sorted by name, so that archives come out the same every time.
void collectEntries(const QDir& root, const QString& folder, QStringList& out)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
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

bool CZipUnZipWrapper::ListMembers(const QString& archive, QStringList& members)
{
    if (!m_bLoaded)
        return false;
    int error = 0;
    zip_t* zip = zip_open(narrow(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return false;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            members.append(QString::fromUtf8(name));
    }
    zip_discard(zip);
    return true;
}

bool CZipUnZipWrapper::ExtractAll(const QString& archive, const QString& folder)
{
    m_skippedMembers.clear();
    if (!m_bLoaded || folder.isEmpty())
        return false;
    int error = 0;
    zip_t* zip = zip_open(narrow(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return false;
    const QString root = QDir::cleanPath(folder);
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* rawName = zip_get_name(zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!rawName)
            continue;
        const QString name = QString::fromUtf8(rawName);
        const bool isFolder = name.endsWith(QLatin1Char('/'));
        const QString target = QDir::cleanPath(root + QLatin1Char('/') + name);
        const QString parent = isFolder ? target : QFileInfo(target).path();
        if (!platform::IsSafeRelativePath(name) || isSymbolicLink(zip, zip_uint64_t(i))
            || target == root || !platform::IsInsideFolder(root, parent)) {
            m_skippedMembers.append(name);
            continue;
        }
        if (!QDir().mkpath(parent) || !platform::IsInsideFolder(root, parent)) {
            ok = false;
            continue;
        }
        if (isFolder)
            continue;
        if (QFileInfo(target).isSymLink()) {
            m_skippedMembers.append(name);
            continue;
        }
        if (!copyMember(zip, zip_uint64_t(i), target))
            ok = false;
    }
    zip_discard(zip);
    return ok;
}

bool CZipUnZipWrapper::ArchivePass(const QString& rootFolder, const QString& pattern,
                                   const QString& archive)
{
    if (!m_bLoaded || !m_bZipInitialised || rootFolder.isEmpty() || pattern.isEmpty())
        return false;
    const QDir root(QDir::cleanPath(rootFolder));
    const QString archivePath = QFileInfo(archive).absoluteFilePath();

    QStringList names;
    if (pattern == QLatin1String("*.*")) {
        collectEntries(root, root.absolutePath(), names);
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
    bool ok = true;
    for (const QString& name : std::as_const(names)) {
        const QByteArray memberName = name.toUtf8();
        if (name.endsWith(QLatin1Char('/'))) {
            if (zip_name_locate(zip, memberName.constData(), 0) < 0
                && zip_dir_add(zip, memberName.constData(), ZIP_FL_ENC_UTF_8) < 0)
                ok = false;
            continue;
        }
        const QString filePath = root.absoluteFilePath(name);
        if (filePath == archivePath)
            continue;
        zip_source_t* source = zip_source_file(zip, narrow(filePath).constData(), 0, -1);
        if (!source) {
            ok = false;
            break;
        }
        const zip_int64_t index = zip_file_add(zip, memberName.constData(), source,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            ok = false;
            break;
        }
        // A stored mimetype keeps its content at a fixed offset, where readers look for it.
        const bool store = memberName == kMimetypeMember;
        zip_set_file_compression(zip, zip_uint64_t(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 store ? 0 : zip_uint32_t(m_nCompressionLevel));
    }
    if (!ok) {
        zip_discard(zip);
        return false;
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        return false;
    }
    return true;
}
