#pragma once
// Containment checks for paths that come from data (archive member names, hrefs, container
// entries). Such paths are never trusted: they must stay below the folder they belong to.
#include <QString>

namespace platform {

// True when `path` is `folder` itself or lies below it. Both are made absolute and clean;
// symbolic links in the part of `path` that exists on disk are resolved, so a link that
// points elsewhere does not count as inside.
bool IsInsideFolder(const QString& folder, const QString& path);

// True when `name` is a relative path that cannot climb out of the folder it is joined to:
// not empty, not absolute (no leading "/" or "\", no drive letter), and no ".." component.
// Both "/" and "\" count as separators, since archives made elsewhere use either.
bool IsSafeRelativePath(const QString& name);

} // namespace platform
