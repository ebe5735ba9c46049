#include "platform/core/LocalTimeZone.h"

#include <cstdlib>

namespace platform {

void KeepLocalTimeZoneLoaded()
{
    // ":" and a path is the form that names a zone file; the system's default zone is this file.
    ::setenv("TZ", ":/etc/localtime", /*overwrite=*/0);
}

} // namespace platform
