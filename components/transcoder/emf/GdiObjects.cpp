#include "components/transcoder/emf/GdiObjects.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

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

QPen toQPen(const PenSpec& desc, double onePixel)
{
    if (desc.isNull())
        return Qt::NoPen;
    QPen pen(desc.color);
    if (desc.cosmetic()) {
        pen.setCosmetic(true);
        pen.setWidthF(onePixel);
    } else {
        pen.setWidthF(desc.width);
    }
    switch (desc.style & 0x0F) {
    case 1: pen.setStyle(Qt::DashLine); break;
    case 2: pen.setStyle(Qt::DotLine); break;
    case 3: pen.setStyle(Qt::DashDotLine); break;
    case 4: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    switch (desc.style & 0xF00u) {
    case 0x100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (desc.style & 0xF000u) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush toQBrush(const BrushSpec& desc)
{
    switch (desc.kind) {
    case BrushSpec::Kind::Null: return Qt::NoBrush;
    case BrushSpec::Kind::Solid: return QBrush(desc.color);
    case BrushSpec::Kind::Pattern: return QBrush(desc.pattern);
    case BrushSpec::Kind::Hatched: {
        static const Qt::BrushStyle styles[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(desc.color, styles[std::min<std::uint32_t>(desc.hatch, 5)]);
    }
    }
    return Qt::NoBrush;
}

QFont toQFont(const FontSpec& desc, int dpi, double& emHeight)
{
    QFont font;
    QStringList families;
    if (!desc.face.isEmpty())
        families << desc.face;
    families << QStringLiteral("NanumGothic"); // covers Hangul where the face does not
    font.setFamilies(families);
    font.setWeight(QFont::Weight(std::clamp(desc.weight == 0 ? 400 : desc.weight, 100, 900)));
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    font.setStrikeOut(desc.strikeOut);
    font.setKerning(false);
    double em = std::abs(desc.height);
    if (em == 0)
        em = 12;
    if (desc.height > 0) {
        // A positive height is the cell: ascent plus descent.
        QFont probe(font);
        probe.setPixelSize(100);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0)
            em = em * 100.0 / cell;
    }
    emHeight = em;
    // Point sizes are turned into device units at the page device's resolution; this
    // makes the em exactly `em` units of the painter's coordinates.
    font.setPointSizeF(std::max(em * 72.0 / std::max(dpi, 1), 0.01));
    return font;
}

} // namespace emfplay
