#pragma once
// Text in the 8-bit encodings that files and archives made on other systems still use
// (EUC-KR/CP949, windows-1252, ISO-8859-1 ...), through the C library's iconv.
#include <QByteArray>
#include <QString>

namespace platform {

// True when `bytes` are valid UTF-8.
bool IsValidUtf8(const QByteArray& bytes);

// Converts all of `bytes` from `encoding` (an iconv name such as "CP949" or "UTF-16LE") to
// UTF-8. False when the encoding is unknown or a byte is not of it, so that text is never
// silently different; `out` is then left empty.
bool ConvertToUtf8(const QByteArray& bytes, const char* encoding, QByteArray& out);

} // namespace platform
