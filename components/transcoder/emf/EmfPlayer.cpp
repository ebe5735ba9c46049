#include "components/transcoder/emf/EmfPlayer.h"

#include "components/transcoder/emf/BitmapRecord.h"
#include "components/transcoder/emf/DibDecoder.h"
#include "components/transcoder/emf/RecordTypes.h"
#include "components/transcoder/emf/TextRecord.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace emfplay {
namespace {

// Coordinates beyond this are not drawings but attempts to overflow the renderer.
constexpr double kMaxCoordinate = 1e9;
// Polygon and text counts are bounded by the record size anyway; this keeps one record's
// work reasonable even then.
constexpr std::uint32_t kMaxPolygons = 1u << 20;

enum : std::uint32_t {
    RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5,
    MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4,
    TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24,
    PS_GEOMETRIC = 0x10000,
};

bool finite(double v) { return std::isfinite(v) && std::abs(v) < kMaxCoordinate; }
bool finitePoint(QPointF p) { return finite(p.x()) && finite(p.y()); }
bool finiteTransform(const QTransform& t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) && std::isfinite(t.m22())
        && std::isfinite(t.dx()) && std::isfinite(t.dy()) && std::abs(t.determinant()) > 1e-12
        && std::abs(t.determinant()) < 1e12;
}

// Hundredths of a millimetre per logical unit of the fixed map modes.
double fixedModeHundredths(int mode)
{
    switch (mode) {
    case 2: return 10.0;             // MM_LOMETRIC
    case 3: return 1.0;              // MM_HIMETRIC
    case 4: return 25.4;             // MM_LOENGLISH
    case 5: return 2.54;             // MM_HIENGLISH
    case 6: return 2540.0 / 1440.0;  // MM_TWIPS
    default: return 0;
    }
}

// The angle of a point seen from the centre, counter-clockwise on screen, in degrees.
double screenAngle(QPointF centre, QPointF p)
{
    return std::atan2(-(p.y() - centre.y()), p.x() - centre.x()) * 180.0 / M_PI;
}

// Draws the string a word at a time. Space glyphs are not drawn: the PDF writer maps each
// glyph back to the lowest code point that uses it, and fonts that give the space's glyph to
// control codes too (U+0000, U+0001) made copied text lose its word gaps; the gap alone reads
// as a space. Text extraction also reads any gap between letters as a space, so a word whose
// advances differ a little from our font's (another font's metrics) is drawn as one run
// stretched to the EMF's width; otherwise a character starts a new run only where the
// advances carry it more than `tolerance` from where the font would put it.
void drawWordRuns(QPainter& painter, const QString& text, const std::vector<double>& advances, double x,
                  double baseline, FontCache::Entry& font, double tolerance)
{
    constexpr double kMaxStretch = 1.25;
    const auto charLength = [&](qsizetype i) { return text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1; };
    const auto advanceOf = [&](qsizetype i, qsizetype n, double own) {
        if (advances.empty())
            return own;
        double advance = 0;
        for (qsizetype k = 0; k < n; ++k)
            advance += advances[std::size_t(i + k)];
        return advance;
    };
    double pen = x; // where the EMF puts the next character
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) == u' ') {
            pen += advanceOf(i, 1, font.advance(u" "));
            ++i;
            continue;
        }
        qsizetype end = i;
        double own = 0, span = 0;
        while (end < text.size() && text.at(end) != u' ') {
            const qsizetype n = charLength(end);
            const double width = font.advance(QStringView(text).mid(end, n));
            own += width;
            span += advanceOf(end, n, width);
            end += n;
        }
        const double stretch = own > 0 ? span / own : 0;
        if (!advances.empty() && std::abs(span - own) > tolerance && stretch >= 1 / kMaxStretch
            && stretch <= kMaxStretch) {
            painter.save();
            painter.translate(pen, baseline);
            painter.scale(stretch, 1);
            font.drawWord(painter, QPointF(0, 0), text.mid(i, end - i));
            painter.restore();
            pen += span;
            i = end;
            continue;
        }
        qsizetype runStart = -1;
        double runX = 0, runWidth = 0;
        const auto flush = [&](qsizetype at) {
            if (runStart >= 0)
                font.drawWord(painter, QPointF(runX, baseline), text.mid(runStart, at - runStart));
            runStart = -1;
        };
        while (i < end) {
            const qsizetype n = charLength(i);
            const double width = font.advance(QStringView(text).mid(i, n));
            if (runStart >= 0 && std::abs(runX + runWidth - pen) > tolerance)
                flush(i);
            if (runStart < 0) {
                runStart = i;
                runX = pen;
                runWidth = 0;
            }
            runWidth += width;
            pen += advanceOf(i, n, width);
            i += n;
        }
        flush(end);
    }
}

} // namespace

EmfPlayer::EmfPlayer(QPainter& painter, const EmfHeader& header, double unitsPerMillimetre, FontCache* fonts)
    : m_painter(painter)
    , m_ownFonts(fonts ? nullptr : std::make_unique<FontCache>())
    , m_fonts(fonts ? *fonts : *m_ownFonts)
    , m_header(header)
{
    const double perHundredth = unitsPerMillimetre / 100.0;
    m_deviceToPage = QTransform(header.hundredthsPerPixelX() * perHundredth, 0, 0,
                                header.hundredthsPerPixelY() * perHundredth,
                                -header.frame.left() * perHundredth, -header.frame.top() * perHundredth);
    m_unitsPerPixel = header.hundredthsPerPixelX() * perHundredth;
    const QSizeF page = header.pageMillimetres();
    m_pageRect = QRectF(0, 0, page.width() * unitsPerMillimetre, page.height() * unitsPerMillimetre);
    m_objects.resize(std::clamp<std::uint32_t>(header.handles, 1, kMaxHandles));
}

bool EmfPlayer::playAll(EmfReader& reader, EmfPlayer& player,
                        const std::function<bool(std::size_t, std::size_t)>& progress)
{
    const std::size_t total = reader.header().bytes;
    std::size_t done = 0;
    std::uint32_t sinceAsked = 0;
    RecordView record;
    while (reader.next(record)) {
        player.play(record);
        done += record.size();
        if (progress && ++sinceAsked >= 64) {
            sinceAsked = 0;
            if (!progress(done, total))
                return false;
        }
    }
    if (reader.broken())
        ++player.m_stats.skipped;
    return true;
}

bool EmfPlayer::play(const RecordView& record)
{
    const bool ok = dispatch(record);
    if (ok)
        ++m_stats.drawn;
    else
        ++m_stats.skipped;
    return ok;
}

bool EmfPlayer::dispatch(const RecordView& r)
{
    switch (r.type()) {
    case EMR_EOF:
    case EMR_SETBRUSHORGEX: case EMR_SETMAPPERFLAGS: case EMR_SETROP2: case EMR_SETSTRETCHBLTMODE:
    case EMR_SETCOLORADJUSTMENT: case EMR_SETMETARGN: case EMR_SELECTPALETTE: case EMR_CREATEPALETTE:
    case EMR_SETPALETTEENTRIES: case EMR_RESIZEPALETTE: case EMR_REALIZEPALETTE: case EMR_SETMITERLIMIT:
    case EMR_SETICMMODE: case EMR_CREATECOLORSPACE: case EMR_SETCOLORSPACE: case EMR_DELETECOLORSPACE:
    case EMR_SETLAYOUT: case EMR_SETTEXTJUSTIFICATION: case EMR_FLATTENPATH: case EMR_WIDENPATH:
        return true; // state with no bearing on a vector page
    case EMR_GDICOMMENT:
        return false; // EMF+ and private data; the plain records beside them draw the page
    case EMR_SETWINDOWEXTEX: return setExtent(r, m_dc.windowExt);
    case EMR_SETWINDOWORGEX: return setOrigin(r, m_dc.windowOrg);
    case EMR_SETVIEWPORTEXTEX: return setExtent(r, m_dc.viewportExt);
    case EMR_SETVIEWPORTORGEX: return setOrigin(r, m_dc.viewportOrg);
    case EMR_SCALEWINDOWEXTEX: return scaleExtent(r, m_dc.windowExt);
    case EMR_SCALEVIEWPORTEXTEX: return scaleExtent(r, m_dc.viewportExt);
    case EMR_SETMAPMODE: {
        std::uint32_t mode;
        if (!r.u32(8, mode) || mode < 1 || mode > 8)
            return false;
        m_dc.mapMode = int(mode);
        return true;
    }
    case EMR_SETBKMODE: {
        std::uint32_t mode;
        if (!r.u32(8, mode) || (mode != 1 && mode != 2))
            return false;
        m_dc.bkMode = int(mode);
        return true;
    }
    case EMR_SETPOLYFILLMODE: {
        std::uint32_t mode;
        if (!r.u32(8, mode) || (mode != 1 && mode != 2))
            return false;
        m_dc.polyFillMode = int(mode);
        return true;
    }
    case EMR_SETTEXTALIGN: return r.u32(8, m_dc.textAlign);
    case EMR_SETARCDIRECTION: {
        std::uint32_t direction;
        if (!r.u32(8, direction) || (direction != 1 && direction != 2))
            return false;
        m_dc.clockwiseArcs = direction == 2;
        return true;
    }
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR: {
        std::uint32_t ref;
        if (!r.u32(8, ref))
            return false;
        (r.type() == EMR_SETTEXTCOLOR ? m_dc.textColor : m_dc.bkColor) = colorFromRef(ref);
        return true;
    }
    case EMR_SAVEDC: return saveDC();
    case EMR_RESTOREDC: return restoreDC(r);
    case EMR_SETWORLDTRANSFORM: return setWorldTransform(r);
    case EMR_MODIFYWORLDTRANSFORM: return modifyWorldTransform(r);

    case EMR_CREATEPEN: return createPen(r);
    case EMR_EXTCREATEPEN: return extCreatePen(r);
    case EMR_CREATEBRUSHINDIRECT: return createBrush(r);
    case EMR_CREATEDIBPATTERNBRUSHPT: return createPatternBrush(r, false);
    case EMR_CREATEMONOBRUSH: return createPatternBrush(r, true);
    case EMR_EXTCREATEFONTINDIRECTW: return createFont(r);
    case EMR_SELECTOBJECT: return selectObject(r);
    case EMR_DELETEOBJECT: return deleteObject(r);

    case EMR_MOVETOEX: return moveTo(r);
    case EMR_LINETO: return lineTo(r);
    case EMR_POLYLINE: return poly(r, false, false, false, false);
    case EMR_POLYLINE16: return poly(r, true, false, false, false);
    case EMR_POLYGON: return poly(r, false, true, false, false);
    case EMR_POLYGON16: return poly(r, true, true, false, false);
    case EMR_POLYBEZIER: return poly(r, false, false, true, false);
    case EMR_POLYBEZIER16: return poly(r, true, false, true, false);
    case EMR_POLYLINETO: return poly(r, false, false, false, true);
    case EMR_POLYLINETO16: return poly(r, true, false, false, true);
    case EMR_POLYBEZIERTO: return poly(r, false, false, true, true);
    case EMR_POLYBEZIERTO16: return poly(r, true, false, true, true);
    case EMR_POLYPOLYLINE: return polyPoly(r, false, false);
    case EMR_POLYPOLYLINE16: return polyPoly(r, true, false);
    case EMR_POLYPOLYGON: return polyPoly(r, false, true);
    case EMR_POLYPOLYGON16: return polyPoly(r, true, true);
    case EMR_RECTANGLE: case EMR_ROUNDRECT: case EMR_ELLIPSE: return box(r, r.type());
    case EMR_ARC: case EMR_ARCTO: case EMR_CHORD: case EMR_PIE: return arc(r, r.type());

    case EMR_BEGINPATH: case EMR_ENDPATH: case EMR_CLOSEFIGURE: case EMR_ABORTPATH:
    case EMR_FILLPATH: case EMR_STROKEPATH: case EMR_STROKEANDFILLPATH:
        return pathOperation(r.type());
    case EMR_SELECTCLIPPATH: return selectClipPath(r);

    case EMR_INTERSECTCLIPRECT: return clipRect(r, true);
    case EMR_EXCLUDECLIPRECT: return clipRect(r, false);
    case EMR_EXTSELECTCLIPRGN: return selectClipRegion(r);
    case EMR_OFFSETCLIPRGN: return offsetClip(r);

    case EMR_EXTTEXTOUTW: return textOut(r, true);
    case EMR_EXTTEXTOUTA: return textOut(r, false);
    case EMR_STRETCHDIBITS: return drawBitmap(BitmapRecord::decodeStretchDIBits(r));
    case EMR_BITBLT: return drawBitmap(BitmapRecord::decodeBlit(r, false));
    case EMR_STRETCHBLT: return drawBitmap(BitmapRecord::decodeBlit(r, true));
    case EMR_SETDIBITSTODEVICE: return drawBitmap(BitmapRecord::decodeSetDIBitsToDevice(r));
    default:
        return false;
    }
}

// ---- state ---------------------------------------------------------------------------

bool EmfPlayer::setExtent(const RecordView& r, QSizeF& extent)
{
    std::int32_t cx, cy;
    if (!r.i32(8, cx) || !r.i32(12, cy) || cx == 0 || cy == 0)
        return false;
    extent = QSizeF(cx, cy);
    return true;
}

bool EmfPlayer::setOrigin(const RecordView& r, QPointF& origin)
{
    QPointF p;
    if (!r.point(8, p))
        return false;
    origin = p;
    return true;
}

bool EmfPlayer::scaleExtent(const RecordView& r, QSizeF& extent)
{
    std::int32_t xNum, xDenom, yNum, yDenom;
    if (!r.i32(8, xNum) || !r.i32(12, xDenom) || !r.i32(16, yNum) || !r.i32(20, yDenom) || !xNum || !xDenom
        || !yNum || !yDenom)
        return false;
    const QSizeF scaled(extent.width() * xNum / xDenom, extent.height() * yNum / yDenom);
    if (!finite(scaled.width()) || !finite(scaled.height()) || scaled.width() == 0 || scaled.height() == 0)
        return false;
    extent = scaled;
    return true;
}

bool EmfPlayer::saveDC()
{
    if (m_saved.size() >= std::size_t(kMaxSavedStates))
        return false;
    m_saved.push_back(m_dc);
    return true;
}

bool EmfPlayer::restoreDC(const RecordView& r)
{
    std::int32_t which;
    if (!r.i32(8, which) || which == 0)
        return false;
    const std::int64_t depth = std::int64_t(m_saved.size());
    const std::int64_t index = which < 0 ? depth + which : std::int64_t(which) - 1;
    if (index < 0 || index >= depth)
        return false;
    m_dc = m_saved[std::size_t(index)];
    m_saved.resize(std::size_t(index));
    m_clipApplied = false;
    return true;
}

bool EmfPlayer::readXform(const RecordView& r, std::uint32_t offset, QTransform& out) const
{
    float v[6];
    for (int i = 0; i < 6; ++i)
        if (!r.f32(offset + 4 * std::uint32_t(i), v[i]))
            return false;
    out = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
    return finiteTransform(out);
}

bool EmfPlayer::setWorldTransform(const RecordView& r)
{
    QTransform t;
    if (!readXform(r, 8, t))
        return false;
    m_dc.world = t;
    return true;
}

bool EmfPlayer::modifyWorldTransform(const RecordView& r)
{
    std::uint32_t mode;
    if (!r.u32(32, mode))
        return false;
    if (mode == MWT_IDENTITY) {
        m_dc.world = QTransform();
        return true;
    }
    QTransform t;
    if (!readXform(r, 8, t))
        return false;
    QTransform result;
    switch (mode) {
    case MWT_LEFTMULTIPLY: result = t * m_dc.world; break;
    case MWT_RIGHTMULTIPLY: result = m_dc.world * t; break;
    case MWT_SET: result = t; break;
    default: return false;
    }
    if (!finiteTransform(result))
        return false;
    m_dc.world = result;
    return true;
}

QTransform EmfPlayer::pageTransform() const
{
    double sx = 1, sy = 1;
    const double fixed = fixedModeHundredths(m_dc.mapMode);
    if (fixed > 0) {
        // Fixed modes: logical units of a known size, y growing upwards.
        sx = fixed / m_header.hundredthsPerPixelX();
        sy = -fixed / m_header.hundredthsPerPixelY();
    } else if (m_dc.mapMode == 7 || m_dc.mapMode == 8) { // MM_ISOTROPIC, MM_ANISOTROPIC
        sx = m_dc.viewportExt.width() / m_dc.windowExt.width();
        sy = m_dc.viewportExt.height() / m_dc.windowExt.height();
        if (m_dc.mapMode == 7) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    return QTransform::fromTranslate(-m_dc.windowOrg.x(), -m_dc.windowOrg.y()) * QTransform::fromScale(sx, sy)
        * QTransform::fromTranslate(m_dc.viewportOrg.x(), m_dc.viewportOrg.y());
}

QTransform EmfPlayer::logicalToPage() const { return m_dc.world * pageTransform() * m_deviceToPage; }

// ---- objects -------------------------------------------------------------------------

bool EmfPlayer::storeObject(std::uint32_t index, GdiObject object)
{
    // Index 0 stands for the metafile itself and is never an object.
    if (index == 0 || index >= m_objects.size())
        return false;
    m_objects[index] = std::move(object);
    return true;
}

bool EmfPlayer::createPen(const RecordView& r)
{
    std::uint32_t index, style, ref;
    std::int32_t width;
    if (!r.u32(8, index) || !r.u32(12, style) || !r.i32(16, width) || !r.u32(24, ref))
        return false;
    GdiObject object;
    object.kind = GdiObject::Kind::Pen;
    object.pen.style = style;
    object.pen.width = std::clamp(width, 0, 1 << 24);
    object.pen.color = colorFromRef(ref);
    return storeObject(index, object);
}

bool EmfPlayer::extCreatePen(const RecordView& r)
{
    std::uint32_t index, style, width, brushStyle, ref;
    if (!r.u32(8, index) || !r.u32(28, style) || !r.u32(32, width) || !r.u32(36, brushStyle) || !r.u32(40, ref))
        return false;
    GdiObject object;
    object.kind = GdiObject::Kind::Pen;
    object.pen.style = style;
    object.pen.width = std::min<std::uint32_t>(width, 1u << 24);
    object.pen.oneDevicePixel = !(style & PS_GEOMETRIC);
    object.pen.color = colorFromRef(ref);
    if (brushStyle == 1) // BS_NULL: a pen that draws nothing
        object.pen.style = (style & ~0x0Fu) | 5u;
    return storeObject(index, object);
}

bool EmfPlayer::createBrush(const RecordView& r)
{
    std::uint32_t index, style, ref, hatch;
    if (!r.u32(8, index) || !r.u32(12, style) || !r.u32(16, ref) || !r.u32(20, hatch))
        return false;
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush.color = colorFromRef(ref);
    object.brush.hatch = hatch;
    switch (style) {
    case 0: object.brush.kind = BrushSpec::Kind::Solid; break;
    case 1: object.brush.kind = BrushSpec::Kind::Null; break;
    case 2:
        if (hatch > 5)
            return false;
        object.brush.kind = BrushSpec::Kind::Hatched;
        break;
    default: return false;
    }
    return storeObject(index, object);
}

bool EmfPlayer::createPatternBrush(const RecordView& r, bool mono)
{
    std::uint32_t index, usage;
    DibLocation where;
    if (!r.u32(8, index) || !r.u32(12, usage) || !r.u32(16, where.offInfo) || !r.u32(20, where.cbInfo)
        || !r.u32(24, where.offBits) || !r.u32(28, where.cbBits) || usage != 0)
        return false;
    QImage image = DibDecoder::decode(r, where);
    if (image.isNull())
        return false;
    if (mono) // monochrome brushes paint their bits in text and background colours
        image = image.convertToFormat(QImage::Format_Mono).convertToFormat(QImage::Format_RGB32);
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush.kind = BrushSpec::Kind::Pattern;
    object.brush.pattern = image;
    return storeObject(index, object);
}

bool EmfPlayer::createFont(const RecordView& r)
{
    constexpr std::uint32_t kLogFont = 12;
    constexpr std::uint32_t kFaceAt = kLogFont + 28;
    constexpr std::uint32_t kFaceUnits = 32;
    std::uint32_t index;
    std::int32_t height, escapement, weight;
    if (!r.u32(8, index) || !r.i32(kLogFont, height) || !r.i32(kLogFont + 8, escapement)
        || !r.i32(kLogFont + 16, weight) || !r.fits(kFaceAt, kFaceUnits * 2))
        return false;
    GdiObject object;
    object.kind = GdiObject::Kind::Font;
    FontSpec& font = object.font;
    font.height = height == std::numeric_limits<std::int32_t>::min() ? 0 : std::clamp(height, -(1 << 24), 1 << 24);
    font.escapement = escapement % 3600;
    font.weight = weight;
    font.italic = r.data()[kLogFont + 20] != 0;
    font.underline = r.data()[kLogFont + 21] != 0;
    font.strikeOut = r.data()[kLogFont + 22] != 0;
    const auto* face = reinterpret_cast<const char16_t*>(r.data() + kFaceAt);
    std::uint32_t length = 0;
    while (length < kFaceUnits && face[length])
        ++length;
    font.face = QString::fromUtf16(face, qsizetype(length));
    return storeObject(index, object);
}

bool EmfPlayer::selectObject(const RecordView& r)
{
    std::uint32_t index;
    if (!r.u32(8, index))
        return false;
    GdiObject object;
    if (index & 0x80000000u) {
        if (!stockObject(index, object))
            return false;
    } else {
        if (index == 0 || index >= m_objects.size())
            return false;
        object = m_objects[index];
    }
    switch (object.kind) {
    case GdiObject::Kind::Pen: m_dc.pen = object.pen; return true;
    case GdiObject::Kind::Brush: m_dc.brush = object.brush; return true;
    case GdiObject::Kind::Font: m_dc.font = object.font; return true;
    case GdiObject::Kind::Other: return true;
    case GdiObject::Kind::Empty: return false;
    }
    return false;
}

bool EmfPlayer::deleteObject(const RecordView& r)
{
    std::uint32_t index;
    if (!r.u32(8, index) || index == 0 || index >= m_objects.size())
        return false;
    // A selected object stays in use until something else is selected, as in GDI.
    m_objects[index] = GdiObject();
    return true;
}

// ---- shapes and paths ----------------------------------------------------------------

bool EmfPlayer::addToPath(const QPainterPath& figure, bool connect)
{
    if (!m_buildingPath)
        return false;
    if (connect && m_path->elementCount() > 0) {
        // Continue the open figure from the current position.
        for (int i = 1; i < figure.elementCount(); ++i) {
            const QPainterPath::Element e = figure.elementAt(i);
            if (e.type == QPainterPath::LineToElement)
                m_path->lineTo(e.x, e.y);
            else if (e.type == QPainterPath::CurveToElement && i + 2 < figure.elementCount()) {
                const QPainterPath::Element c2 = figure.elementAt(i + 1), end = figure.elementAt(i + 2);
                m_path->cubicTo(QPointF(e.x, e.y), QPointF(c2.x, c2.y), QPointF(end.x, end.y));
                i += 2;
            }
        }
    } else {
        m_path->addPath(figure);
    }
    return true;
}

bool EmfPlayer::moveTo(const RecordView& r)
{
    QPointF p;
    if (!r.point(8, p))
        return false;
    m_dc.current = p;
    if (m_buildingPath)
        m_path->moveTo(p);
    return true;
}

bool EmfPlayer::lineTo(const RecordView& r)
{
    QPointF p;
    if (!r.point(8, p))
        return false;
    if (m_buildingPath) {
        if (m_path->elementCount() == 0)
            m_path->moveTo(m_dc.current);
        m_path->lineTo(p);
    } else {
        QPainterPath line(m_dc.current);
        line.lineTo(p);
        draw(line, false, true);
    }
    m_dc.current = p;
    return true;
}

bool EmfPlayer::poly(const RecordView& r, bool sixteen, bool closed, bool bezier, bool fromCurrent)
{
    std::uint32_t count;
    if (!r.u32(24, count) || count == 0)
        return false;
    const std::uint32_t pointSize = sixteen ? 4 : 8;
    if (!r.fits(28, std::uint64_t(count) * pointSize))
        return false;
    if (bezier && (fromCurrent ? count % 3 != 0 : (count < 4 || (count - 1) % 3 != 0)))
        return false;
    std::vector<QPointF> points;
    points.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t at = 28 + i * pointSize;
        if (sixteen) {
            std::int16_t x, y;
            r.i16(at, x);
            r.i16(at + 2, y);
            points.emplace_back(x, y);
        } else {
            QPointF p;
            r.point(at, p);
            points.push_back(p);
        }
    }
    QPainterPath figure;
    std::size_t i = 0;
    if (fromCurrent)
        figure.moveTo(m_dc.current);
    else
        figure.moveTo(points[i++]);
    if (bezier) {
        for (; i + 2 < points.size(); i += 3)
            figure.cubicTo(points[i], points[i + 1], points[i + 2]);
    } else {
        for (; i < points.size(); ++i)
            figure.lineTo(points[i]);
    }
    if (closed)
        figure.closeSubpath();
    if (fromCurrent)
        m_dc.current = points.back();
    if (m_buildingPath)
        return addToPath(figure, fromCurrent);
    figure.setFillRule(m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    draw(figure, closed, true);
    return true;
}

bool EmfPlayer::polyPoly(const RecordView& r, bool sixteen, bool closed)
{
    std::uint32_t polygons, total;
    if (!r.u32(24, polygons) || !r.u32(28, total) || polygons == 0 || polygons > kMaxPolygons)
        return false;
    const std::uint32_t pointSize = sixteen ? 4 : 8;
    const std::uint64_t pointsAt = 32 + std::uint64_t(polygons) * 4;
    if (!r.fits(32, std::uint64_t(polygons) * 4) || !r.fits(pointsAt, std::uint64_t(total) * pointSize))
        return false;
    std::uint64_t sum = 0;
    for (std::uint32_t i = 0; i < polygons; ++i) {
        std::uint32_t n;
        r.u32(32 + 4 * i, n);
        sum += n;
    }
    if (sum != total)
        return false;
    QPainterPath figure;
    figure.setFillRule(m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    std::uint64_t at = pointsAt;
    for (std::uint32_t i = 0; i < polygons; ++i) {
        std::uint32_t n;
        r.u32(32 + 4 * i, n);
        for (std::uint32_t k = 0; k < n; ++k, at += pointSize) {
            QPointF p;
            if (sixteen) {
                std::int16_t x, y;
                r.i16(std::uint32_t(at), x);
                r.i16(std::uint32_t(at + 2), y);
                p = QPointF(x, y);
            } else {
                r.point(std::uint32_t(at), p);
            }
            if (k == 0)
                figure.moveTo(p);
            else
                figure.lineTo(p);
        }
        if (closed && n > 0)
            figure.closeSubpath();
    }
    if (m_buildingPath)
        return addToPath(figure, false);
    draw(figure, closed, true);
    return true;
}

bool EmfPlayer::box(const RecordView& r, std::uint32_t type)
{
    QRectF box;
    if (!r.rect(8, box))
        return false;
    box = box.normalized();
    QPainterPath figure;
    if (type == EMR_ROUNDRECT) {
        std::int32_t cw, ch;
        if (!r.i32(24, cw) || !r.i32(28, ch))
            return false;
        figure.addRoundedRect(box, std::clamp(std::abs(cw) / 2.0, 0.0, box.width() / 2),
                              std::clamp(std::abs(ch) / 2.0, 0.0, box.height() / 2));
    } else if (type == EMR_ELLIPSE) {
        figure.addEllipse(box);
    } else {
        figure.addRect(box);
    }
    if (m_buildingPath)
        return addToPath(figure, false);
    draw(figure, true, true);
    return true;
}

bool EmfPlayer::arc(const RecordView& r, std::uint32_t type)
{
    QRectF box;
    QPointF start, end;
    if (!r.rect(8, box) || !r.point(24, start) || !r.point(32, end))
        return false;
    box = box.normalized();
    const QPointF centre = box.center();
    const double from = screenAngle(centre, start);
    double sweep = screenAngle(centre, end) - from;
    if (m_dc.clockwiseArcs) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath figure;
    if (type == EMR_PIE)
        figure.moveTo(centre);
    else if (type == EMR_ARCTO)
        figure.moveTo(m_dc.current);
    else
        figure.arcMoveTo(box, from);
    figure.arcTo(box, from, sweep);
    if (type == EMR_PIE || type == EMR_CHORD)
        figure.closeSubpath();
    if (type == EMR_ARCTO)
        m_dc.current = figure.currentPosition();
    if (m_buildingPath)
        return addToPath(figure, type == EMR_ARCTO);
    draw(figure, type == EMR_PIE || type == EMR_CHORD, true);
    return true;
}

bool EmfPlayer::pathOperation(std::uint32_t type)
{
    switch (type) {
    case EMR_BEGINPATH:
        m_path = QPainterPath();
        m_path->setFillRule(m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        m_buildingPath = true;
        return true;
    case EMR_ENDPATH:
        if (!m_buildingPath)
            return false;
        m_buildingPath = false;
        return true;
    case EMR_ABORTPATH:
        m_path.reset();
        m_buildingPath = false;
        return true;
    case EMR_CLOSEFIGURE:
        if (!m_buildingPath)
            return false;
        m_path->closeSubpath();
        return true;
    default:
        break;
    }
    // Fill and stroke use the closed path once and discard it.
    if (m_buildingPath || !m_path)
        return false;
    QPainterPath path = *m_path;
    m_path.reset();
    path.setFillRule(m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    draw(path, type != EMR_STROKEPATH, type != EMR_FILLPATH);
    return true;
}

bool EmfPlayer::selectClipPath(const RecordView& r)
{
    std::uint32_t mode;
    if (!r.u32(8, mode) || mode < RGN_AND || mode > RGN_COPY || m_buildingPath || !m_path)
        return false;
    QPainterPath path = logicalToPage().map(*m_path);
    m_path.reset();
    combineClip(path, mode);
    return true;
}

// ---- clipping ------------------------------------------------------------------------

void EmfPlayer::combineClip(const QPainterPath& path, std::uint32_t mode)
{
    QPainterPath page;
    page.addRect(m_pageRect);
    const QPainterPath current = m_dc.clip ? *m_dc.clip : page;
    switch (mode) {
    case RGN_AND: m_dc.clip = current.intersected(path); break;
    case RGN_OR: m_dc.clip = current.united(path); break;
    case RGN_XOR: m_dc.clip = current.united(path).subtracted(current.intersected(path)); break;
    case RGN_DIFF: m_dc.clip = current.subtracted(path); break;
    default: m_dc.clip = path; break;
    }
    m_clipApplied = false;
}

bool EmfPlayer::clipRect(const RecordView& r, bool intersect)
{
    QRectF rect;
    if (!r.rect(8, rect) || !finitePoint(rect.topLeft()) || !finitePoint(rect.bottomRight()))
        return false;
    QPainterPath path;
    path.addRect(rect.normalized());
    combineClip(logicalToPage().map(path), intersect ? RGN_AND : RGN_DIFF);
    return true;
}

bool EmfPlayer::selectClipRegion(const RecordView& r)
{
    std::uint32_t size, mode;
    if (!r.u32(8, size) || !r.u32(12, mode) || mode < RGN_AND || mode > RGN_COPY || !r.fits(16, size))
        return false;
    if (size == 0) {
        // No region: only "copy" makes sense, and it means no clipping at all.
        if (mode != RGN_COPY)
            return false;
        m_dc.clip.reset();
        m_clipApplied = false;
        return true;
    }
    std::uint32_t headerSize, count;
    if (size < 32 || !r.u32(16, headerSize) || !r.u32(24, count) || headerSize != 32
        || std::uint64_t(count) * 16 > size - 32)
        return false;
    // Region rectangles are in device pixels, right and bottom edges excluded.
    QRegion region;
    std::vector<QRect> rects;
    rects.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        QRectF rect;
        r.rect(16 + 32 + 16 * i, rect);
        const QRectF mapped = m_deviceToPage.mapRect(rect.normalized());
        if (!finitePoint(mapped.topLeft()) || !finitePoint(mapped.bottomRight()))
            return false;
        rects.push_back(mapped.toAlignedRect());
    }
    region.setRects(rects.data(), int(rects.size()));
    QPainterPath path;
    path.addRegion(region);
    combineClip(path, mode);
    return true;
}

bool EmfPlayer::offsetClip(const RecordView& r)
{
    QPointF offset;
    if (!r.point(8, offset))
        return false;
    if (m_dc.clip) {
        const QTransform t = logicalToPage();
        const QPointF moved = t.map(offset) - t.map(QPointF(0, 0));
        m_dc.clip->translate(moved);
        m_clipApplied = false;
    }
    return true;
}

void EmfPlayer::applyClip()
{
    if (m_clipApplied)
        return;
    m_painter.resetTransform();
    if (m_dc.clip)
        m_painter.setClipPath(*m_dc.clip);
    else
        m_painter.setClipping(false);
    m_clipApplied = true;
}

// ---- drawing -------------------------------------------------------------------------

void EmfPlayer::draw(const QPainterPath& path, bool fill, bool stroke)
{
    const QTransform t = logicalToPage();
    const QRectF reach = t.mapRect(path.controlPointRect());
    if (!finitePoint(reach.topLeft()) || !finitePoint(reach.bottomRight()))
        return;
    applyClip();
    m_painter.setTransform(t);
    if (fill && m_dc.brush.kind == BrushSpec::Kind::Hatched && m_dc.bkMode == 2) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_dc.bkColor);
        m_painter.drawPath(path);
    }
    QPen pen = stroke ? toQPen(m_dc.pen, m_unitsPerPixel) : QPen(Qt::NoPen);
    // Dashes along a very long outline would be generated one by one; draw those solid.
    if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen) {
        const double widthOnPage = pen.isCosmetic() ? pen.widthF() : pen.widthF() * std::sqrt(std::abs(t.determinant()));
        if (widthOnPage <= 0 || (reach.width() + reach.height()) * path.elementCount() / widthOnPage > 1e6)
            pen.setStyle(Qt::SolidLine);
    }
    m_painter.setPen(pen);
    m_painter.setBrush(fill ? toQBrush(m_dc.brush) : QBrush(Qt::NoBrush));
    m_painter.drawPath(path);
}

bool EmfPlayer::textOut(const RecordView& r, bool wide)
{
    const std::optional<TextRecord> record = TextRecord::decode(r, wide);
    if (!record)
        return false;
    const QString& text = record->text;
    const QRectF& rect = record->rect;
    const std::uint32_t options = record->options;
    const bool hasDx = !record->advances.empty();
    QPointF reference = record->reference;

    if (m_buildingPath)
        return true; // text outlines in paths are not kept
    if (m_dc.textAlign & TA_UPDATECP)
        reference = m_dc.current;

    const QTransform t = logicalToPage();
    if (options & TextRecord::ETO_OPAQUE) {
        QPainterPath box;
        box.addRect(rect.normalized());
        applyClip();
        m_painter.setTransform(t);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_dc.bkColor);
        m_painter.drawPath(box);
    }
    if (text.isEmpty())
        return true;

    // Text stays upright whatever the direction of the y axis: a local frame at the
    // reference point, x along the baseline, y down the page.
    const QPointF origin = t.map(reference);
    QPointF ex = t.map(reference + QPointF(1, 0)) - origin;
    QPointF ey = t.map(reference + QPointF(0, 1)) - origin;
    if (ex.x() * ey.y() - ex.y() * ey.x() < 0)
        ey = -ey;
    QTransform local(ex.x(), ex.y(), ey.x(), ey.y(), origin.x(), origin.y());
    if (!finitePoint(origin) || !finiteTransform(local))
        return false;
    if (m_dc.font.escapement != 0)
        local = QTransform().rotate(-m_dc.font.escapement / 10.0) * local;

    FontCache::Entry& cached
        = m_fonts.entry(m_dc.font, m_painter.device() ? m_painter.device()->logicalDpiY() : 72, m_painter.device());
    const QFont& font = cached.font();
    const double em = cached.em();
    // Glyphs many times the page's size show nothing and cost a great deal to outline.
    const double emOnPage = em * std::sqrt(std::abs(local.determinant()));
    if (!(emOnPage <= 4 * std::max(m_pageRect.width(), m_pageRect.height())))
        return false;
    const QFontMetricsF& metrics = cached.metrics();

    const std::vector<double>& advances = record->advances;
    double width = 0;
    if (hasDx) {
        for (double advance : advances)
            width += advance;
    } else {
        width = metrics.horizontalAdvance(text);
    }
    double x = 0;
    if ((m_dc.textAlign & TA_CENTER) == TA_CENTER)
        x = -width / 2;
    else if (m_dc.textAlign & TA_RIGHT)
        x = -width;
    double baseline = metrics.ascent();
    if ((m_dc.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (m_dc.textAlign & TA_BOTTOM)
        baseline = -metrics.descent();

    m_painter.save();
    applyClip();
    if (options & TextRecord::ETO_CLIPPED) {
        m_painter.setTransform(t);
        m_painter.setClipRect(rect.normalized(), m_dc.clip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    m_painter.setTransform(local);
    if (m_dc.bkMode == 2) {
        m_painter.fillRect(QRectF(std::min(x, x + width), baseline - metrics.ascent(), std::abs(width),
                                  metrics.ascent() + metrics.descent()),
                           m_dc.bkColor);
    }
    // Spaces are not drawn, so the font's own underline and strike-out would stop at each
    // gap: they are drawn here across the whole string instead.
    QFont runFont = font;
    runFont.setUnderline(false);
    runFont.setStrikeOut(false);
    m_painter.setFont(runFont);
    m_painter.setPen(m_dc.textColor);
    drawWordRuns(m_painter, text, record->advances, x, baseline, cached, std::max(1.0, 0.08 * em));
    const double line = std::max(metrics.lineWidth(), 0.5);
    if (font.underline())
        m_painter.fillRect(QRectF(std::min(x, x + width), baseline + metrics.underlinePos(), std::abs(width), line),
                           m_dc.textColor);
    if (font.strikeOut())
        m_painter.fillRect(QRectF(std::min(x, x + width), baseline - metrics.strikeOutPos(), std::abs(width), line),
                           m_dc.textColor);
    m_painter.restore();
    m_clipApplied = false; // restore() brought back the clip of before; keep ours in step

    if (m_dc.textAlign & TA_UPDATECP)
        m_dc.current = reference + QPointF(width, 0);
    return true;
}

void EmfPlayer::drawImage(const QRectF& dest, const QImage& image, const QRectF& source)
{
    const QTransform t = logicalToPage();
    const QRectF reach = t.mapRect(dest);
    if (!finitePoint(reach.topLeft()) || !finitePoint(reach.bottomRight()) || dest.width() == 0
        || dest.height() == 0)
        return;
    const QRectF src = source.intersected(QRectF(image.rect()));
    if (src.isEmpty())
        return;
    // Negative extents mirror the picture.
    QImage picture = image.copy(src.toAlignedRect()).mirrored(dest.width() < 0, dest.height() < 0);
    applyClip();
    m_painter.setTransform(t);
    m_painter.drawImage(dest.normalized(), picture);
}

bool EmfPlayer::drawBitmap(const std::optional<BitmapRecord>& record)
{
    if (!record)
        return false;
    switch (record->kind) {
    case BitmapRecord::Kind::Picture:
        drawImage(record->dest, record->image, record->source);
        return true;
    case BitmapRecord::Kind::Nothing:
        return true;
    default:
        break;
    }
    // Fills of the destination: the brush, or black or white, and no outline.
    const BrushSpec savedBrush = m_dc.brush;
    const PenSpec savedPen = m_dc.pen;
    m_dc.pen.style = 5; // PS_NULL
    if (record->kind != BitmapRecord::Kind::BrushFill) {
        m_dc.brush = BrushSpec();
        m_dc.brush.color = record->kind == BitmapRecord::Kind::BlackFill ? Qt::black : Qt::white;
    }
    QPainterPath box;
    box.addRect(record->dest.normalized());
    draw(box, true, false);
    m_dc.brush = savedBrush;
    m_dc.pen = savedPen;
    return true;
}

} // namespace emfplay
