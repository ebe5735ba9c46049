#include "platform/core/FileCopy.h"

#include "platform/core/LastError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool CopyFile(const QString& source, const QString& destination, bool failIfExists)
{
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (!from.exists() || from.isDir()) {
        SetLastError(from.absoluteDir().exists() ? ErrorFileNotFound : ErrorPathNotFound);
        return false;
    }
    if (!to.absoluteDir().exists()) {
        SetLastError(ErrorPathNotFound);
        return false;
    }
    if (to.exists() && failIfExists) {
        SetLastError(ErrorFileExists);
        return false;
    }
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath()) {
        SetLastError(ErrorSuccess);
        return true;
    }
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(1 << 20);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError) {
            SetLastError(ErrorReadFault);
            return false;
        }
        if (output.write(chunk) != chunk.size()) {
            SetLastError(ErrorWriteFault);
            return false;
        }
    }
    if (!output.commit()) {
        SetLastError(ErrorWriteFault);
        return false;
    }
    QFile::setPermissions(destination, input.permissions());
    SetLastError(ErrorSuccess);
    return true;
}

} // namespace platform
