#pragma once
// The C library's hold on the local time zone.

namespace platform {

// Without TZ, the C library looks at /etc/localtime again on every local-time conversion,
// and the archive library converts one time per member: names that same file in TZ, so it
// is read once. Changes nothing when TZ is set. Call at the start of main, before threads.
void KeepLocalTimeZoneLoaded();

} // namespace platform
