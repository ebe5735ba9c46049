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
// the size the picture has on the page in pixels, before the view's zoom
constexpr int kPictureDrawnWidth = QTextFormat::UserProperty + 16;
constexpr int kPictureDrawnHeight = QTextFormat::UserProperty + 17;
// the picture's own size in pixels, and whether its element gave a size
constexpr int kPictureNaturalWidth = QTextFormat::UserProperty + 18;
constexpr int kPictureNaturalHeight = QTextFormat::UserProperty + 19;
constexpr int kPictureSized = QTextFormat::UserProperty + 20;
// the source of an equation drawn as a picture
constexpr int kEquationSource = QTextFormat::UserProperty + 21;
// the class an equation's img element carries
constexpr const char* kEquationClass = "tdx-equation";

// markup kept from the chapter, ids into the document's MarkupTable
constexpr int kBlockMarkup = QTextFormat::UserProperty + 30;   // paragraphs
constexpr int kInlineMarkup = QTextFormat::UserProperty + 31;  // runs of text
constexpr int kImageElement = QTextFormat::UserProperty + 32;  // a picture's img element, less src, alt and size
constexpr int kIsland = QTextFormat::UserProperty + 33;        // markup kept as it was read
constexpr int kEmptyElement = QTextFormat::UserProperty + 34;  // the carrier of an element without content
constexpr int kTableMarkup = QTextFormat::UserProperty + 35;   // tables
constexpr int kBreakElement = QTextFormat::UserProperty + 36;  // a br element, for its line separators

// The object type that draws an island in the text.
constexpr int kIslandObject = QTextFormat::UserObject + 1;

} // namespace tdx
