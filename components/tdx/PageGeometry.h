#pragma once
// Page size and margins in the control's length unit, 1/7200 inch. The editing view lays
// text out at the text-area width; pictures with relative sizes are drawn against it.
#include <QString>
#include <QStringList>

#include <array>

namespace tdx {

// Screen pixels at the 96 dpi the layout uses: 7200 / 96 = 75 units per pixel.
constexpr double kUnitsPerPixel = 75.0;
inline double unitsToPixels(double units) { return units / kUnitsPerPixel; }
inline int pixelsToUnits(double pixels) { return int(qRound(pixels * kUnitsPerPixel)); }

struct PageGeometry {
    int paperWidth = 59528;   // A4 with 30/30/20/15 mm margins and 15 mm header and footer
    int paperHeight = 84188;
    int leftMargin = 8504;
    int rightMargin = 8504;
    int topMargin = 5668;
    int bottomMargin = 4252;
    int headerLen = 4252;
    int footerLen = 4252;

    static const QStringList& itemNames()
    {
        static const QStringList names{"PaperWidth", "PaperHeight", "LeftMargin", "RightMargin",
                                       "TopMargin", "BottomMargin", "HeaderLen", "FooterLen"};
        return names;
    }
    std::array<int*, 8> fields()
    {
        return {&paperWidth, &paperHeight, &leftMargin, &rightMargin,
                &topMargin, &bottomMargin, &headerLen, &footerLen};
    }
    int textWidth() const { return paperWidth - leftMargin - rightMargin; }
    int textHeight() const { return paperHeight - topMargin - bottomMargin; }
    // Text area at least an inch in each direction, no negative value.
    bool isUsable() const
    {
        return leftMargin >= 0 && rightMargin >= 0 && topMargin >= 0 && bottomMargin >= 0
            && headerLen >= 0 && footerLen >= 0 && textWidth() >= 7200 && textHeight() >= 7200;
    }
};

} // namespace tdx
