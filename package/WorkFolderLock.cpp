#include "package/WorkFolderLock.h"

#include <QDir>
#include <QFileInfo>

std::unique_ptr<QLockFile> ClaimWorkFolderLock(const QString& workFolder)
{
    const QFileInfo folder(QDir::cleanPath(workFolder));
    auto lock = std::make_unique<QLockFile>(folder.path() + QStringLiteral("/.") + folder.fileName()
                                            + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // never stale by age: held as long as the book is open
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
