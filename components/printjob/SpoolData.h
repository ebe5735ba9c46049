#pragma once
// Job data in the EMF spool format, as a printer driver spools a document: an opening
// record (version 0x00010000, its size counting its own 8-byte header) that names the
// document, then for every page a page record with the page's metafile followed by an
// end-of-page record. Data records give type and size; their size does not count the
// 8-byte header.
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace printjob {

constexpr std::uint32_t kSpoolVersion = 0x00010000;
constexpr std::uint32_t kPageRecord = 12;    // the page's enhanced metafile
constexpr std::uint32_t kPageEndRecord = 13; // where the page record started (u64)

QByteArray MakeSpoolData(const QString& documentName, const QList<QByteArray>& pageMetafiles);

// The same data piece by piece, for jobs spooled one page at a time.
QByteArray SpoolOpening(const QString& documentName);
// A page's records; `at` is where they start in the job's data.
QByteArray SpoolPage(const QByteArray& metafile, quint64 at);

} // namespace printjob
