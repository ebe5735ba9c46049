#pragma once
// Our own properties on Qt's text formats.
#include <QTextFormat>

namespace tdx {

// paragraphs
constexpr int kStyleIndex = QTextFormat::UserProperty + 1;  // position in the style list
constexpr int kIndentation = QTextFormat::UserProperty + 2; // first-line indent, 1/7200 inch
// pictures
constexpr int kPictureId = QTextFormat::UserProperty + 10;  // the drawing object's identity
constexpr int kPictureWidth = QTextFormat::UserProperty + 11;
constexpr int kPictureHeight = QTextFormat::UserProperty + 12;
constexpr int kPictureWidthRelTo = QTextFormat::UserProperty + 13;
constexpr int kPictureHeightRelTo = QTextFormat::UserProperty + 14;
constexpr int kPictureAlt = QTextFormat::UserProperty + 15;

} // namespace tdx
