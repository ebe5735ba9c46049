#pragma once
// Copying a file the way the installers expect: the whole file or nothing at the
// destination, with the last error set on failure.
#include <QString>

namespace platform {

// Copies `source` to `destination`. An existing destination is replaced unless
// `failIfExists` (then ErrorFileExists). The destination folder must exist
// (ErrorPathNotFound). The copy is written to a temporary file and renamed into place.
bool CopyFile(const QString& source, const QString& destination, bool failIfExists);

} // namespace platform
