#pragma once
// The text layout understands pt and px but not em, while chapters (and what we write)
// size text in em. Before a chapter or style sheet reaches the layout, em lengths become
// absolute: font sizes against a 12 pt base, other lengths against a 16 px base.
#include <QString>

namespace tdx {

constexpr double kBasePointSize = 12.0;
constexpr double kBasePixelSize = 16.0;

QString emToAbsolute(const QString& css);

} // namespace tdx
