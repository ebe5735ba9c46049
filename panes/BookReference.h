#pragma once
// Paths written inside a book (NCX src values, manifest hrefs) are data: relative to the
// file that holds them, possibly percent-encoded, and never trusted to stay in the book.
#include <QString>

namespace BookReference {

// The folder part of a file path, up to and including its last "/".
QString FolderOf(const QString& filePath);

// `reference` joined to `folder` and cleaned. A reference with "%" escapes is decoded
// when only the decoded form names a file. Empty when the result leaves `workFolder`.
QString Resolve(const QString& folder, const QString& reference, const QString& workFolder);

// True for the chapter extensions ".html", ".htm", ".xml" and ".xhtml", taken from the
// last "." and compared exactly: "CH1.XHTML" is not a chapter.
bool HasChapterExtension(const QString& path);

} // namespace BookReference
