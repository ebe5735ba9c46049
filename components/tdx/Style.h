#pragma once
// One entry of a document's style list: its two names and the character and paragraph
// formats it sets. Unset values (0, -1, empty) leave the paragraph's own format alone.
#include <QString>

class QTextCursor;

namespace tdx {

struct Style {
    QString nameEng;
    QString nameLocal;
    // character format
    double pointSize = 0;
    int bold = -1;
    int italic = -1;
    int underline = -1;
    QString color;       // "#rrggbb"
    QString fontFamily;
    // paragraph format
    QString align;       // "left", "right", "center", "justify"
    int leftMargin = 0;  // 1/7200 inch
    int indentation = 0; // first line, 1/7200 inch; negative hangs
    int lineSpacing = 0; // percent
    int headingLevel = 0;
    int list = 0;        // 1 numbered, 2 bulleted

    // Gives every paragraph the cursor touches this style's formats.
    void applyTo(QTextCursor& cursor, int index) const;
    bool sameFormatsAs(const Style& other) const;
};

} // namespace tdx
