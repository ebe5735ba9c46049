#include "package/WorkFolderLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A long folder name would make ".name.lock" longer than a file name may be, so such
// folders are locked under a digest of their name.
QString lockName(const QString& folderName)
{
    constexpr qsizetype kMaxNameBytes = 255 - 6; // room for "." and ".lock"
    const QByteArray bytes = QFile::encodeName(folderName);
    if (bytes.size() <= kMaxNameBytes)
        return folderName;
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

} // namespace

std::unique_ptr<QLockFile> ClaimWorkFolderLock(const QString& workFolder)
{
    const QFileInfo folder(QDir::cleanPath(workFolder));
    auto lock = std::make_unique<QLockFile>(folder.path() + QStringLiteral("/.") + lockName(folder.fileName())
                                            + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // never stale by age: held as long as the book is open
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
