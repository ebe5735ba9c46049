#pragma once
// Writes enhanced metafiles record by record, with a GDI-like set of calls. Logical
// units start as the reference device's pixels (map mode MM_TEXT) at the given
// resolution; the page is sized in millimetres. Used for the print-job starter's text
// pages, the benchmarks and the test fixtures (including deliberately broken records
// through `record`).
#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSizeF>
#include <QString>

#include <cstdint>

namespace emfwriter {

using ColorRef = std::uint32_t; // 0x00BBGGRR, as GDI stores colours
constexpr ColorRef rgb(int r, int g, int b) { return ColorRef(r) | ColorRef(g) << 8 | ColorRef(b) << 16; }

// A device-independent bitmap: BITMAPINFO (header and colour table) and the pixel rows.
struct Dib {
    QByteArray info;
    QByteArray bits;
};

class EmfWriter {
public:
    explicit EmfWriter(QSizeF pageMillimetres, int dpi = 96);

    int dpi() const { return m_dpi; }
    QSize deviceSize() const { return m_device; }

    // Any record, written as given (type, then size = 8 + payload, then payload padded to 4).
    void record(std::uint32_t type, const QByteArray& payload);

    // State.
    void setMapMode(int mode);
    void setWindowOrg(QPoint origin);
    void setWindowExt(QSize extent);
    void setViewportOrg(QPoint origin);
    void setViewportExt(QSize extent);
    void saveDC();
    void restoreDC(int relative);
    void setWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy);
    void modifyWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy, int mode);
    void setPolyFillMode(int mode);

    // Objects: the create calls return the handle index to select.
    std::uint32_t createPen(int style, int width, ColorRef colour);
    std::uint32_t extCreatePen(int style, int width, ColorRef colour);
    std::uint32_t createBrush(int style, ColorRef colour, int hatch = 0);
    std::uint32_t createDibPatternBrush(const Dib& dib);
    std::uint32_t createFont(int height, int weight = 400, bool italic = false, const QString& face = {},
                             int escapement = 0);
    void selectObject(std::uint32_t handle);
    void deleteObject(std::uint32_t handle);
    static constexpr std::uint32_t stock(int index) { return 0x80000000u | std::uint32_t(index); }

    // Shapes.
    void moveTo(QPoint point);
    void lineTo(QPoint point);
    void rectangle(QRect box);
    void roundRect(QRect box, QSize corner);
    void ellipse(QRect box);
    // type: one of the 16-bit (85..89) or 32-bit (2..6) poly records.
    void poly(std::uint32_t type, const QList<QPoint>& points);
    // type: 90/91 (16-bit) or 7/8 (32-bit).
    void polyPoly(std::uint32_t type, const QList<QList<QPoint>>& figures);

    // Paths and clipping.
    void beginPath();
    void endPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void abortPath();
    void selectClipPath(int mode);
    void intersectClipRect(QRect rect);
    void excludeClipRect(QRect rect);
    void selectClipRegion(const QList<QRect>& deviceRects, int mode);

    // Text.
    void setTextColor(ColorRef colour);
    void setBkColor(ColorRef colour);
    void setBkMode(int mode);
    void setTextAlign(std::uint32_t align);
    // Without advances the reader uses the font's own; options and rect as EXTTEXTOUTW.
    void textOut(QPoint reference, const QString& text, const QList<int>& advances = {},
                 std::uint32_t options = 0, QRect rect = {});

    // Bitmaps.
    void stretchDIBits(QRect dest, const Dib& dib, QRect source = {}, std::uint32_t rop = 0x00CC0020);
    void bitBlt(QRect dest, const Dib& dib, QPoint source = {}, std::uint32_t rop = 0x00CC0020);
    void stretchBlt(QRect dest, const Dib& dib, QRect source = {}, std::uint32_t rop = 0x00CC0020);
    void patBlt(QRect dest, std::uint32_t rop);

    void comment(const QByteArray& data);

    // Appends the end record and fills in the header; the writer is spent afterwards.
    QByteArray finish();

    // Builds a DIB. `pixel(x, y)` gives the raw value for the depth: a palette index for
    // 1 to 8 bits, 0x7FFF-style 5-5-5 for 16, 0xRRGGBB for 24 and 32. Rows are stored
    // bottom-up unless `topDown`.
    template <typename PixelFunction>
    static Dib makeDib(int width, int height, int bitCount, bool topDown, PixelFunction pixel,
                       const QList<ColorRef>& palette = {});

private:
    static Dib dibFrame(int width, int height, int bitCount, bool topDown, const QList<ColorRef>& palette);
    static void setPixel(Dib& dib, int width, int height, int bitCount, bool topDown, int x, int y,
                         std::uint32_t value);
    QByteArray blitPayload(QRect dest, const Dib& dib, QRect source, std::uint32_t rop, bool stretch);
    std::uint32_t nextHandle();

    QByteArray m_data;
    QSize m_device;
    QSizeF m_millimetres;
    int m_dpi;
    std::uint32_t m_records = 0;
    std::uint32_t m_handles = 1; // index 0 is the metafile itself
};

template <typename PixelFunction>
Dib EmfWriter::makeDib(int width, int height, int bitCount, bool topDown, PixelFunction pixel,
                       const QList<ColorRef>& palette)
{
    Dib dib = dibFrame(width, height, bitCount, topDown, palette);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setPixel(dib, width, height, bitCount, topDown, x, y, std::uint32_t(pixel(x, y)));
    return dib;
}

} // namespace emfwriter
