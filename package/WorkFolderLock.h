#pragma once
// The mark of a work folder in use: the lock file "<base>/.<folder name>.lock" (a digest
// stands for a name too long for that), held by the
// process that has the book open (the editor, lindar-cli) for as long as it has it open.
// A holder that died frees it.
#include <QLockFile>
#include <QString>

#include <memory>

// Takes the lock of `workFolder` unless a live process holds it; null when one does.
// Releasing the returned lock removes its file.
std::unique_ptr<QLockFile> ClaimWorkFolderLock(const QString& workFolder);
