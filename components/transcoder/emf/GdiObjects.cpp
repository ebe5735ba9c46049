#include "components/transcoder/emf/GdiObjects.h"

namespace emfplay {

QColor colorFromRef(std::uint32_t ref)
{
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

bool stockObject(std::uint32_t handle, GdiObject& out)
{
    if (!(handle & 0x80000000u))
        return false;
    const std::uint32_t index = handle & 0x7FFFFFFFu;
    out = GdiObject();
    auto brush = [&](BrushSpec::Kind kind, int grey) {
        out.kind = GdiObject::Kind::Brush;
        out.brush.kind = kind;
        out.brush.color = QColor(grey, grey, grey);
    };
    auto pen = [&](std::uint32_t style, int grey) {
        out.kind = GdiObject::Kind::Pen;
        out.pen.style = style;
        out.pen.color = QColor(grey, grey, grey);
    };
    switch (index) {
    case 0: brush(BrushSpec::Kind::Solid, 255); return true;  // WHITE_BRUSH
    case 1: brush(BrushSpec::Kind::Solid, 192); return true;  // LTGRAY_BRUSH
    case 2: brush(BrushSpec::Kind::Solid, 128); return true;  // GRAY_BRUSH
    case 3: brush(BrushSpec::Kind::Solid, 64); return true;   // DKGRAY_BRUSH
    case 4: brush(BrushSpec::Kind::Solid, 0); return true;    // BLACK_BRUSH
    case 5: brush(BrushSpec::Kind::Null, 0); return true;     // NULL_BRUSH
    case 6: pen(0, 255); return true;                         // WHITE_PEN
    case 7: pen(0, 0); return true;                           // BLACK_PEN
    case 8: pen(5, 0); return true;                           // NULL_PEN
    case 10: case 11: case 16:                                // the fixed-pitch fonts
        out.kind = GdiObject::Kind::Font;
        out.font.height = 16;
        out.font.face = QStringLiteral("Monospace");
        return true;
    case 12: case 13: case 14: case 17:                       // the proportional fonts
        out.kind = GdiObject::Kind::Font;
        out.font.height = 16;
        return true;
    case 15:                                                  // DEFAULT_PALETTE
        out.kind = GdiObject::Kind::Other;
        return true;
    case 18: brush(BrushSpec::Kind::Solid, 255); return true; // DC_BRUSH
    case 19: pen(0, 0); return true;                          // DC_PEN
    default:
        return false;
    }
}

} // namespace emfplay
