#pragma once
// Deflates the files an archive needs compressed on every core before the archive is written,
// and hands each result to the archive library as data it only has to copy.
#include <QByteArray>
#include <QList>
#include <QStringList>

struct zip;
struct zip_source;

namespace ParallelDeflate {

struct Deflated {
    QByteArray compressed; // raw deflate data, as a ZIP member holds it
    quint32 crc = 0;
    quint64 size = 0;      // uncompressed
    qint64 modified = 0;   // seconds since the epoch, for the member's time
    bool ok = false;       // false when the file could not be read; it is then added the slow way
};

// Files larger than this, and files past this much input in one archive, are left to the
// archive library, which compresses them one by one, so that memory stays bounded.
constexpr qint64 kLargestFile = 32 * 1024 * 1024;
constexpr qint64 kMostAhead = 256 * 1024 * 1024;

// One result per path, in order, at `level` (1 to 9).
QList<Deflated> DeflateFiles(const QStringList& paths, int level);

// A source for zip_file_add that reports `deflated` as deflate-compressed data; null on failure.
zip_source* MakeSource(zip* archive, Deflated&& deflated);

} // namespace ParallelDeflate
