#pragma once
// The files of one folder as the directory listing gives them, with the system's text
// when the listing cannot start or breaks off.
#include <QString>
#include <QStringList>

namespace platform {

// File names (no folders, no hidden files) sorted by name. On failure `errorText` gets the
// system's text; `names` keeps what was listed before a listing broke off.
bool ListFolderFiles(const QString& folder, QStringList& names, QString& errorText);

} // namespace platform
