#pragma once
// How much a book file may ask of the machine. A book comes from anywhere: one over a limit
// is refused before anything of it is written, with a message that names the limit. The
// figures and why they were chosen are in the README ("Limits").
#include <QtGlobal>

struct _ARCHIVE_LIMITS {
    // Sum of the members' unpacked sizes: the work folder's room on disk.
    qint64 maxUnpackedBytes = qint64(2) * 1024 * 1024 * 1024;
    // Unpacked size to packed size of one member; members smaller than ratioFloorBytes are
    // not held to it (a short run of blanks packs away to almost nothing).
    qint64 maxMemberRatio = 200;
    qint64 ratioFloorBytes = 1024 * 1024;
    // Members of one archive.
    qint64 maxMembers = 200000;
};

// Element nesting of a package file (container, OPF, NCX).
inline constexpr int kMaxXmlDepth = 25000;
