#pragma once
// Chapters written against the XHTML DTDs may use HTML's named characters (&nbsp;,
// &mdash; ...), which an XML parser without the DTD leaves alone.
#include <cstddef>

namespace tdx {

// The character an entity name (without '&' and ';') stands for, or 0 for none.
char32_t htmlEntity(const char* name, size_t length);

} // namespace tdx
