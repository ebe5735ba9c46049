#pragma once
// Path helpers of the shell's light-weight utility API, on native "/" paths.
#include <QString>

namespace platform {

// Shortens a path to at most maxChars characters: a path loses middle parts, replaced by
// "..." before its last component ("/home/a/.../report.pdf"); a plain name, or a last
// component that alone is too long, is cut and ends in "...". Shorter text is unchanged.
QString PathCompactPath(const QString& path, int maxChars);

// True for text that starts with a URL scheme of two or more characters and a ":"
// ("http://...", "file:...", "mailto:..."); "C:..." is a drive, not a scheme.
bool PathIsUrl(const QString& text);

} // namespace platform
