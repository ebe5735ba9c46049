#include "platform/core/FolderListing.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace platform {

namespace {

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A name sorts without regard to case first, so "B.tdt" comes between "a.tdt" and "c.tdt".
bool byName(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

bool ListFolderFiles(const QString& folder, QStringList& names, QString& errorText)
{
    names.clear();
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        errorText = errnoText(errno);
        return false;
    }
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) {
            if (errno != 0) {
                errorText = errnoText(errno);
                ok = false;
            }
            break;
        }
        const QString name = QFile::decodeName(entry->d_name);
        if (name.startsWith(QLatin1Char('.')))
            continue; // ".", ".." and hidden files
        if (QFileInfo(folder + QLatin1Char('/') + name).isFile())
            names.append(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), byName);
    return ok;
}

} // namespace platform
