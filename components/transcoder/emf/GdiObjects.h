#pragma once
// The drawing objects an EMF creates and selects, as plain descriptions. They are turned
// into Qt pens, brushes and fonts only when something is drawn, with the transform of
// that moment.
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QString>

#include <cstdint>

namespace emfplay {

QColor colorFromRef(std::uint32_t colorRef);

struct PenSpec {
    std::uint32_t style = 0; // PS_* with the geometric, cap and join bits
    double width = 0;        // logical units; 0 is one device pixel
    QColor color = Qt::black;
    bool oneDevicePixel = false; // an extended cosmetic pen: one pixel whatever its width
    bool cosmetic() const { return width <= 0 || oneDevicePixel; }
    bool isNull() const { return (style & 0x0F) == 5; }
};

struct BrushSpec {
    enum class Kind { Solid, Null, Hatched, Pattern } kind = Kind::Solid;
    QColor color = Qt::white;
    std::uint32_t hatch = 0;
    QImage pattern;
};

struct FontSpec {
    double height = -12;     // logical units: negative is the em height, positive the cell
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    double escapement = 0;   // tenths of a degree, counter-clockwise
    QString face;
};

struct GdiObject {
    enum class Kind { Empty, Pen, Brush, Font, Other } kind = Kind::Empty;
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
};

// The Qt counterparts, for the transform in use when drawing. A cosmetic pen is one
// reference pixel (`onePixel`, in page units) wide. The font's em is set to `emHeight`
// painter units on a device of `dpi`; a positive (cell) height is converted to an em.
QPen toQPen(const PenSpec& pen, double onePixel);
QBrush toQBrush(const BrushSpec& brush);
QFont toQFont(const FontSpec& font, int dpi, double& emHeight);

// Stock objects are selected by 0x80000000 | index; false for an index that is no stock object.
bool stockObject(std::uint32_t handle, GdiObject& out);

} // namespace emfplay
