#include "components/emfwriter/EmfWriter.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace emfwriter {
namespace {

// Record types written here.
enum : std::uint32_t {
    kHeader = 1, kPolyPolygon16 = 91, kEof = 14, kSetWindowExtEx = 9, kSetWindowOrgEx = 10,
    kSetViewportExtEx = 11, kSetViewportOrgEx = 12, kSetMapMode = 17, kSetBkMode = 18,
    kSetPolyFillMode = 19, kSetTextAlign = 22, kSetTextColor = 24, kSetBkColor = 25,
    kMoveToEx = 27, kExcludeClipRect = 29, kIntersectClipRect = 30, kSaveDC = 33, kRestoreDC = 34,
    kSetWorldTransform = 35, kModifyWorldTransform = 36, kSelectObject = 37, kCreatePen = 38,
    kCreateBrushIndirect = 39, kDeleteObject = 40, kEllipse = 42, kRectangle = 43, kRoundRect = 44,
    kLineTo = 54, kBeginPath = 59, kEndPath = 60, kCloseFigure = 61, kFillPath = 62,
    kStrokeAndFillPath = 63, kStrokePath = 64, kSelectClipPath = 67, kAbortPath = 68, kGdiComment = 70,
    kExtSelectClipRgn = 75, kBitBlt = 76, kStretchBlt = 77, kStretchDIBits = 81,
    kExtCreateFontIndirectW = 82, kExtTextOutW = 84, kCreateDibPatternBrushPt = 94,
    kExtCreatePen = 95,
};

class Bytes {
public:
    Bytes& u32(std::uint32_t v) { return raw(&v, 4); }
    Bytes& i32(std::int32_t v) { return raw(&v, 4); }
    Bytes& u16(std::uint16_t v) { return raw(&v, 2); }
    Bytes& i16(std::int16_t v) { return raw(&v, 2); }
    Bytes& u8(std::uint8_t v) { return raw(&v, 1); }
    Bytes& f32(float v) { return raw(&v, 4); }
    Bytes& rect(QRect r) { return i32(r.left()).i32(r.top()).i32(r.right()).i32(r.bottom()); }
    Bytes& point(QPoint p) { return i32(p.x()).i32(p.y()); }
    Bytes& bytes(const QByteArray& b)
    {
        m_data.append(b);
        return *this;
    }
    Bytes& zeros(int n)
    {
        m_data.append(QByteArray(n, '\0'));
        return *this;
    }
    Bytes& pad4()
    {
        while (m_data.size() % 4)
            m_data.append('\0');
        return *this;
    }
    int size() const { return int(m_data.size()); }
    QByteArray data() const { return m_data; }

private:
    Bytes& raw(const void* v, int n)
    {
        // The host is little-endian, as the format is (checked where the records are read).
        m_data.append(static_cast<const char*>(v), n);
        return *this;
    }
    QByteArray m_data;
};

QRect boundsOf(const QList<QPoint>& points)
{
    if (points.isEmpty())
        return {};
    int l = points[0].x(), t = points[0].y(), r = l, b = t;
    for (QPoint p : points) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    return QRect(QPoint(l, t), QPoint(r, b));
}

bool isSixteenBit(std::uint32_t type) { return type >= 85 && type <= 91; }

} // namespace

EmfWriter::EmfWriter(QSizeF pageMillimetres, int dpi)
    : m_millimetres(pageMillimetres), m_dpi(dpi > 0 ? dpi : 96)
{
    m_device = QSize(int(std::lround(pageMillimetres.width() / 25.4 * m_dpi)),
                     int(std::lround(pageMillimetres.height() / 25.4 * m_dpi)));
    m_data = QByteArray(108, '\0'); // the header, filled in by finish()
    m_records = 1;
}

void EmfWriter::record(std::uint32_t type, const QByteArray& payload)
{
    Bytes b;
    b.u32(type).u32(std::uint32_t(8 + ((payload.size() + 3) & ~3))).bytes(payload).pad4();
    m_data.append(b.data());
    ++m_records;
}

std::uint32_t EmfWriter::nextHandle() { return m_handles++; }

void EmfWriter::setMapMode(int mode) { record(kSetMapMode, Bytes().u32(std::uint32_t(mode)).data()); }
void EmfWriter::setWindowOrg(QPoint o) { record(kSetWindowOrgEx, Bytes().point(o).data()); }
void EmfWriter::setWindowExt(QSize e) { record(kSetWindowExtEx, Bytes().i32(e.width()).i32(e.height()).data()); }
void EmfWriter::setViewportOrg(QPoint o) { record(kSetViewportOrgEx, Bytes().point(o).data()); }
void EmfWriter::setViewportExt(QSize e) { record(kSetViewportExtEx, Bytes().i32(e.width()).i32(e.height()).data()); }
void EmfWriter::saveDC() { record(kSaveDC, {}); }
void EmfWriter::restoreDC(int relative) { record(kRestoreDC, Bytes().i32(relative).data()); }
void EmfWriter::setPolyFillMode(int mode) { record(kSetPolyFillMode, Bytes().u32(std::uint32_t(mode)).data()); }

void EmfWriter::setWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy)
{
    record(kSetWorldTransform, Bytes().f32(m11).f32(m12).f32(m21).f32(m22).f32(dx).f32(dy).data());
}

void EmfWriter::modifyWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy, int mode)
{
    record(kModifyWorldTransform,
           Bytes().f32(m11).f32(m12).f32(m21).f32(m22).f32(dx).f32(dy).u32(std::uint32_t(mode)).data());
}

std::uint32_t EmfWriter::createPen(int style, int width, ColorRef colour)
{
    const std::uint32_t handle = nextHandle();
    record(kCreatePen, Bytes().u32(handle).u32(std::uint32_t(style)).i32(width).i32(0).u32(colour).data());
    return handle;
}

std::uint32_t EmfWriter::extCreatePen(int style, int width, ColorRef colour)
{
    const std::uint32_t handle = nextHandle();
    // No brush bitmap; a solid brush of the colour; no style entries.
    record(kExtCreatePen, Bytes().u32(handle).u32(0).u32(0).u32(0).u32(0)
                              .u32(std::uint32_t(style)).u32(std::uint32_t(width)).u32(0).u32(colour)
                              .u32(0).u32(0).data());
    return handle;
}

std::uint32_t EmfWriter::createBrush(int style, ColorRef colour, int hatch)
{
    const std::uint32_t handle = nextHandle();
    record(kCreateBrushIndirect, Bytes().u32(handle).u32(std::uint32_t(style)).u32(colour).u32(std::uint32_t(hatch)).data());
    return handle;
}

std::uint32_t EmfWriter::createDibPatternBrush(const Dib& dib)
{
    const std::uint32_t handle = nextHandle();
    const std::uint32_t offBmi = 32;
    const std::uint32_t offBits = offBmi + std::uint32_t(dib.info.size());
    record(kCreateDibPatternBrushPt, Bytes().u32(handle).u32(0).u32(offBmi).u32(std::uint32_t(dib.info.size()))
                                         .u32(offBits).u32(std::uint32_t(dib.bits.size()))
                                         .bytes(dib.info).bytes(dib.bits).data());
    return handle;
}

std::uint32_t EmfWriter::createFont(int height, int weight, bool italic, const QString& face, int escapement)
{
    const std::uint32_t handle = nextHandle();
    Bytes b;
    b.u32(handle).i32(height).i32(0).i32(escapement).i32(escapement).i32(weight);
    b.u8(italic ? 1 : 0).u8(0).u8(0).u8(1).u8(0).u8(0).u8(0).u8(0);
    QByteArray name(64, '\0');
    const QString clipped = face.left(31);
    std::memcpy(name.data(), clipped.utf16(), size_t(clipped.size()) * 2);
    b.bytes(name);
    // The ELW tail (full name, style, script) that GDI writes; readers need only LOGFONTW.
    b.zeros(128 + 64 + 64);
    record(kExtCreateFontIndirectW, b.data());
    return handle;
}

void EmfWriter::selectObject(std::uint32_t handle) { record(kSelectObject, Bytes().u32(handle).data()); }
void EmfWriter::deleteObject(std::uint32_t handle) { record(kDeleteObject, Bytes().u32(handle).data()); }

void EmfWriter::moveTo(QPoint p) { record(kMoveToEx, Bytes().point(p).data()); }
void EmfWriter::lineTo(QPoint p) { record(kLineTo, Bytes().point(p).data()); }
void EmfWriter::rectangle(QRect box) { record(kRectangle, Bytes().rect(box).data()); }
void EmfWriter::ellipse(QRect box) { record(kEllipse, Bytes().rect(box).data()); }
void EmfWriter::roundRect(QRect box, QSize corner)
{
    record(kRoundRect, Bytes().rect(box).i32(corner.width()).i32(corner.height()).data());
}

void EmfWriter::poly(std::uint32_t type, const QList<QPoint>& points)
{
    Bytes b;
    b.rect(boundsOf(points)).u32(std::uint32_t(points.size()));
    for (QPoint p : points) {
        if (isSixteenBit(type))
            b.i16(std::int16_t(p.x())).i16(std::int16_t(p.y()));
        else
            b.point(p);
    }
    record(type, b.data());
}

void EmfWriter::polyPoly(std::uint32_t type, const QList<QList<QPoint>>& figures)
{
    QList<QPoint> all;
    for (const QList<QPoint>& figure : figures)
        all += figure;
    Bytes b;
    b.rect(boundsOf(all)).u32(std::uint32_t(figures.size())).u32(std::uint32_t(all.size()));
    for (const QList<QPoint>& figure : figures)
        b.u32(std::uint32_t(figure.size()));
    for (QPoint p : all) {
        if (isSixteenBit(type))
            b.i16(std::int16_t(p.x())).i16(std::int16_t(p.y()));
        else
            b.point(p);
    }
    record(type, b.data());
}

void EmfWriter::beginPath() { record(kBeginPath, {}); }
void EmfWriter::endPath() { record(kEndPath, {}); }
void EmfWriter::closeFigure() { record(kCloseFigure, {}); }
void EmfWriter::fillPath() { record(kFillPath, Bytes().rect({}).data()); }
void EmfWriter::strokePath() { record(kStrokePath, Bytes().rect({}).data()); }
void EmfWriter::strokeAndFillPath() { record(kStrokeAndFillPath, Bytes().rect({}).data()); }
void EmfWriter::abortPath() { record(kAbortPath, {}); }
void EmfWriter::selectClipPath(int mode) { record(kSelectClipPath, Bytes().u32(std::uint32_t(mode)).data()); }
void EmfWriter::intersectClipRect(QRect r) { record(kIntersectClipRect, Bytes().rect(r).data()); }
void EmfWriter::excludeClipRect(QRect r) { record(kExcludeClipRect, Bytes().rect(r).data()); }

void EmfWriter::selectClipRegion(const QList<QRect>& deviceRects, int mode)
{
    Bytes region;
    QRect bounds;
    for (const QRect& r : deviceRects)
        bounds |= r;
    // Region rectangles are stored right- and bottom-exclusive.
    auto exclusive = [](QRect r) { return QRect(r.topLeft(), r.bottomRight() + QPoint(1, 1)); };
    region.u32(32).u32(1).u32(std::uint32_t(deviceRects.size())).u32(std::uint32_t(deviceRects.size() * 16))
        .rect(exclusive(bounds));
    for (const QRect& r : deviceRects)
        region.rect(exclusive(r));
    const QByteArray data = deviceRects.isEmpty() ? QByteArray() : region.data();
    record(kExtSelectClipRgn, Bytes().u32(std::uint32_t(data.size())).u32(std::uint32_t(mode)).bytes(data).data());
}

void EmfWriter::setTextColor(ColorRef c) { record(kSetTextColor, Bytes().u32(c).data()); }
void EmfWriter::setBkColor(ColorRef c) { record(kSetBkColor, Bytes().u32(c).data()); }
void EmfWriter::setBkMode(int mode) { record(kSetBkMode, Bytes().u32(std::uint32_t(mode)).data()); }
void EmfWriter::setTextAlign(std::uint32_t align) { record(kSetTextAlign, Bytes().u32(align).data()); }

void EmfWriter::textOut(QPoint reference, const QString& text, const QList<int>& advances,
                        std::uint32_t options, QRect rect)
{
    // Record layout: bounds, graphics mode, scales, then EMRTEXT with its string and advances.
    constexpr std::uint32_t kEmrTextAt = 8 + 16 + 4 + 8; // from the record start
    constexpr std::uint32_t kStringAt = kEmrTextAt + 40;
    const std::uint32_t stringBytes = std::uint32_t((text.size() * 2 + 3) & ~3);
    const std::uint32_t dxAt = advances.isEmpty() ? 0 : kStringAt + stringBytes;
    Bytes b;
    b.rect({}).u32(1).f32(1.0f).f32(1.0f);
    b.point(reference).u32(std::uint32_t(text.size())).u32(kStringAt).u32(options).rect(rect).u32(dxAt);
    b.bytes(QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)).pad4();
    for (int advance : advances)
        b.i32(advance);
    record(kExtTextOutW, b.data());
}

QByteArray EmfWriter::blitPayload(QRect dest, const Dib& dib, QRect source, std::uint32_t rop, bool stretch)
{
    const std::uint32_t fixed = stretch ? 108 : 100;
    const std::uint32_t offBmi = dib.info.isEmpty() ? 0 : fixed;
    const std::uint32_t offBits = dib.info.isEmpty() ? 0 : fixed + std::uint32_t(dib.info.size());
    Bytes b;
    b.rect(dest).i32(dest.x()).i32(dest.y()).i32(dest.width()).i32(dest.height()).u32(rop);
    b.i32(source.x()).i32(source.y());
    b.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0); // source transform
    b.u32(0).u32(0).u32(offBmi).u32(std::uint32_t(dib.info.size())).u32(offBits).u32(std::uint32_t(dib.bits.size()));
    if (stretch)
        b.i32(source.width()).i32(source.height());
    b.bytes(dib.info).bytes(dib.bits);
    return b.data();
}

void EmfWriter::bitBlt(QRect dest, const Dib& dib, QPoint source, std::uint32_t rop)
{
    record(kBitBlt, blitPayload(dest, dib, QRect(source, dest.size()), rop, false));
}

void EmfWriter::stretchBlt(QRect dest, const Dib& dib, QRect source, std::uint32_t rop)
{
    if (source.isNull()) {
        const auto* header = reinterpret_cast<const std::int32_t*>(dib.info.constData());
        source = QRect(0, 0, header[1], std::abs(header[2]));
    }
    record(kStretchBlt, blitPayload(dest, dib, source, rop, true));
}

void EmfWriter::patBlt(QRect dest, std::uint32_t rop) { record(kBitBlt, blitPayload(dest, {}, {}, rop, false)); }

void EmfWriter::stretchDIBits(QRect dest, const Dib& dib, QRect source, std::uint32_t rop)
{
    if (source.isNull()) {
        const auto* header = reinterpret_cast<const std::int32_t*>(dib.info.constData());
        source = QRect(0, 0, header[1], std::abs(header[2]));
    }
    constexpr std::uint32_t kFixed = 80;
    Bytes b;
    b.rect(dest).i32(dest.x()).i32(dest.y()).i32(source.x()).i32(source.y()).i32(source.width()).i32(source.height());
    b.u32(kFixed).u32(std::uint32_t(dib.info.size())).u32(kFixed + std::uint32_t(dib.info.size()))
        .u32(std::uint32_t(dib.bits.size()));
    b.u32(0).u32(rop).i32(dest.width()).i32(dest.height());
    b.bytes(dib.info).bytes(dib.bits);
    record(kStretchDIBits, b.data());
}

void EmfWriter::comment(const QByteArray& data)
{
    record(kGdiComment, Bytes().u32(std::uint32_t(data.size())).bytes(data).data());
}

QByteArray EmfWriter::finish()
{
    record(kEof, Bytes().u32(0).u32(16).u32(20).data());
    Bytes h;
    h.u32(kHeader).u32(108).rect(QRect(0, 0, m_device.width(), m_device.height()));
    h.i32(0).i32(0).i32(int(std::lround(m_millimetres.width() * 100))).i32(int(std::lround(m_millimetres.height() * 100)));
    h.u32(0x464D4520).u32(0x10000).u32(std::uint32_t(m_data.size())).u32(m_records);
    h.u16(std::uint16_t(std::min<std::uint32_t>(m_handles, 0xFFFF))).u16(0).u32(0).u32(0).u32(0);
    h.i32(m_device.width()).i32(m_device.height());
    h.i32(int(std::lround(m_millimetres.width()))).i32(int(std::lround(m_millimetres.height())));
    h.u32(0).u32(0).u32(0);
    h.i32(int(std::lround(m_millimetres.width() * 1000))).i32(int(std::lround(m_millimetres.height() * 1000)));
    std::memcpy(m_data.data(), h.data().constData(), 108);
    return m_data;
}

Dib EmfWriter::dibFrame(int width, int height, int bitCount, bool topDown, const QList<ColorRef>& palette)
{
    const int stride = ((width * bitCount + 31) / 32) * 4;
    Bytes info;
    info.u32(40).i32(width).i32(topDown ? -height : height).u16(1).u16(std::uint16_t(bitCount));
    info.u32(0).u32(std::uint32_t(stride * height)).i32(3780).i32(3780);
    info.u32(bitCount <= 8 ? std::uint32_t(palette.size()) : 0).u32(0);
    for (ColorRef c : palette) // RGBQUAD is blue, green, red, reserved
        info.u8(std::uint8_t(c >> 16)).u8(std::uint8_t(c >> 8)).u8(std::uint8_t(c)).u8(0);
    return Dib{info.data(), QByteArray(stride * height, '\0')};
}

void EmfWriter::setPixel(Dib& dib, int width, int height, int bitCount, bool topDown, int x, int y,
                         std::uint32_t value)
{
    const int stride = ((width * bitCount + 31) / 32) * 4;
    const int row = topDown ? y : height - 1 - y;
    auto* line = reinterpret_cast<unsigned char*>(dib.bits.data()) + row * stride;
    switch (bitCount) {
    case 1:
    case 4:
    case 8: {
        const int bit = x * bitCount;
        const int shift = 8 - bitCount - bit % 8;
        const unsigned mask = ((1u << bitCount) - 1) << shift;
        line[bit / 8] = static_cast<unsigned char>((line[bit / 8] & ~mask) | ((value << shift) & mask));
        break;
    }
    case 16:
        qToLittleEndian<quint16>(quint16(value), line + x * 2);
        break;
    case 24:
        line[x * 3] = static_cast<unsigned char>(value);
        line[x * 3 + 1] = static_cast<unsigned char>(value >> 8);
        line[x * 3 + 2] = static_cast<unsigned char>(value >> 16);
        break;
    case 32:
        qToLittleEndian<quint32>(value, line + x * 4);
        break;
    default:
        break;
    }
}

} // namespace emfwriter
