#pragma once
// EMF pages for the tests and the fuzz corpus, written with our EMF writer. Pages are
// 100 mm square at 96 dpi, so logical units are reference pixels (about 378 a side).
// Each page comes with the colours expected at a few points, in logical units.
#include "components/emfwriter/EmfWriter.h"

#include <QColor>
#include <QPoint>

#include <functional>
#include <vector>

namespace emffixtures {

using emfwriter::EmfWriter;
using emfwriter::rgb;

struct Probe {
    QPoint at;      // logical units
    QColor colour;
};

struct Page {
    const char* name;
    QByteArray emf;
    std::vector<Probe> probes;
};

const QSizeF kPageMm(100, 100);
const QColor kWhite(255, 255, 255), kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kBlack(0, 0, 0),
    kYellow(255, 255, 0), kMagenta(255, 0, 255), kGrey(192, 192, 192);

inline std::uint32_t solidBrush(EmfWriter& w, emfwriter::ColorRef c)
{
    const std::uint32_t brush = w.createBrush(0, c);
    w.selectObject(brush);
    w.selectObject(EmfWriter::stock(8)); // NULL_PEN: fills only
    return brush;
}

inline std::vector<Page> shapePages()
{
    std::vector<Page> pages;
    {
        EmfWriter w(kPageMm);
        solidBrush(w, rgb(255, 0, 0));
        w.rectangle(QRect(QPoint(20, 20), QPoint(120, 120)));
        solidBrush(w, rgb(0, 0, 255));
        w.ellipse(QRect(QPoint(200, 20), QPoint(340, 120)));
        const std::uint32_t round = w.createBrush(0, rgb(0, 255, 0));
        w.selectObject(round);
        w.roundRect(QRect(QPoint(20, 200), QPoint(120, 300)), QSize(40, 40));
        pages.push_back({"rectangle, ellipse, round rectangle", w.finish(),
                         {{{70, 70}, kRed}, {{270, 70}, kBlue}, {{204, 24}, kWhite}, {{70, 250}, kGreen},
                          {{22, 202}, kWhite}, {{300, 300}, kWhite}}});
    }
    {
        EmfWriter w(kPageMm);
        solidBrush(w, rgb(0, 255, 0));
        w.poly(86, {{20, 20}, {140, 20}, {80, 140}});                // POLYGON16
        solidBrush(w, rgb(255, 0, 0));
        w.poly(3, {{200, 20}, {340, 20}, {340, 140}, {200, 140}});  // POLYGON
        solidBrush(w, rgb(0, 0, 255));
        w.polyPoly(91, {{{20, 200}, {100, 200}, {100, 280}, {20, 280}}, {{200, 200}, {280, 200}, {280, 280}, {200, 280}}});
        const std::uint32_t pen = w.createPen(0, 12, rgb(255, 0, 255));
        w.selectObject(pen);
        w.poly(87, {{20, 340}, {360, 340}});                         // POLYLINE16
        w.moveTo({300, 160});
        w.lineTo({360, 160});
        pages.push_back({"polygons, poly-polygon, polyline, line", w.finish(),
                         {{{80, 50}, kGreen}, {{25, 130}, kWhite}, {{270, 80}, kRed}, {{60, 240}, kBlue},
                          {{240, 240}, kBlue}, {{150, 240}, kWhite}, {{190, 340}, kMagenta}, {{330, 160}, kMagenta}}});
    }
    {
        EmfWriter w(kPageMm);
        solidBrush(w, rgb(255, 255, 0));
        w.beginPath();
        w.moveTo({20, 20});
        w.lineTo({340, 20});
        w.lineTo({340, 340});
        w.lineTo({20, 340});
        w.closeFigure();
        w.endPath();
        w.excludeClipRect(QRect(QPoint(150, 150), QPoint(230, 230)));
        w.fillPath();
        pages.push_back({"path filled around an excluded rectangle", w.finish(),
                         {{{60, 60}, kYellow}, {{190, 190}, kWhite}, {{300, 300}, kYellow}, {{360, 360}, kWhite}}});
    }
    {
        EmfWriter w(kPageMm);
        w.saveDC();
        w.intersectClipRect(QRect(QPoint(0, 0), QPoint(150, 378)));
        solidBrush(w, rgb(255, 0, 255));
        w.rectangle(QRect(QPoint(20, 20), QPoint(360, 100)));
        w.restoreDC(-1);
        // After the restore the clip is gone and the brush is the default white one.
        solidBrush(w, rgb(0, 0, 255));
        w.rectangle(QRect(QPoint(20, 200), QPoint(360, 280)));
        pages.push_back({"clip and objects restored by RestoreDC", w.finish(),
                         {{{80, 60}, kMagenta}, {{300, 60}, kWhite}, {{80, 240}, kBlue}, {{300, 240}, kBlue}}});
    }
    {
        EmfWriter w(kPageMm);
        w.setMapMode(8); // MM_ANISOTROPIC: 1000 logical units over the left half of the page
        w.setWindowExt(QSize(1000, 1000));
        w.setViewportExt(QSize(189, 189));
        solidBrush(w, rgb(255, 0, 0));
        w.rectangle(QRect(QPoint(100, 100), QPoint(900, 900)));
        w.setMapMode(1);
        w.setWorldTransform(1, 0, 0, 1, 200, 200); // moves what follows by 200 pixels
        solidBrush(w, rgb(0, 255, 0));
        w.rectangle(QRect(QPoint(0, 0), QPoint(100, 100)));
        pages.push_back({"mapping mode and world transform", w.finish(),
                         {{{95, 95}, kRed}, {{185, 95}, kWhite}, {{250, 250}, kGreen}, {{50, 250}, kWhite}}});
    }
    {
        EmfWriter w(kPageMm);
        w.selectObject(EmfWriter::stock(8));  // NULL_PEN
        w.selectObject(EmfWriter::stock(4));  // BLACK_BRUSH
        w.rectangle(QRect(QPoint(20, 20), QPoint(120, 120)));
        w.selectObject(EmfWriter::stock(1));  // LTGRAY_BRUSH
        w.rectangle(QRect(QPoint(200, 20), QPoint(340, 120)));
        w.selectClipRegion({QRect(QPoint(0, 200), QPoint(150, 378))}, 5); // RGN_COPY, device pixels
        solidBrush(w, rgb(0, 0, 255));
        w.rectangle(QRect(QPoint(0, 200), QPoint(378, 378)));
        // An EMF+ comment is skipped; the plain record after it is what draws.
        w.comment(QByteArray("EMF+\x01\x40\x00\x00\x0c\x00\x00\x00\x0c\x00\x00\x00", 16));
        pages.push_back({"stock objects, region clip, EMF+ comment", w.finish(),
                         {{{70, 70}, kBlack}, {{270, 70}, kGrey}, {{70, 300}, kBlue}, {{300, 300}, kWhite}}});
    }
    {
        EmfWriter w(kPageMm);
        // A clip path: only the inside of the ellipse takes the fill.
        w.beginPath();
        w.ellipse(QRect(QPoint(40, 40), QPoint(200, 200)));
        w.endPath();
        w.saveDC();
        w.selectClipPath(5); // RGN_COPY
        solidBrush(w, rgb(255, 0, 0));
        w.rectangle(QRect(QPoint(0, 0), QPoint(378, 378)));
        w.restoreDC(-1);
        // A pie of the upper right quarter, counter-clockwise from 3 to 12 o'clock.
        solidBrush(w, rgb(0, 0, 255));
        w.record(47, []() { // EMR_PIE: box, start radial, end radial
            QByteArray b;
            for (std::int32_t v : {220, 220, 340, 340, 340, 280, 280, 220})
                b.append(reinterpret_cast<const char*>(&v), 4);
            return b;
        }());
        // A geometric pen with flat ends, and a Bezier whose control points lie on a line.
        w.selectObject(w.extCreatePen(0x10000 | 0x200, 12, rgb(0, 255, 0)));
        w.poly(85, {{20, 300}, {80, 300}, {140, 300}, {200, 300}}); // POLYBEZIER16
        pages.push_back({"clip path, pie, extended pen, Bezier", w.finish(),
                         {{{120, 120}, kRed}, {{50, 50}, kWhite}, {{250, 120}, kWhite}, {{300, 260}, kBlue},
                          {{260, 300}, kWhite}, {{110, 300}, kGreen}, {{110, 320}, kWhite}}});
    }
    return pages;
}

// Quadrants of a bitmap: top-left red, top-right green, bottom-left blue, bottom-right white
// (1 bit: top half red, bottom half blue).
inline emfwriter::Dib quadrantDib(int bitCount, bool topDown, int size = 40)
{
    const int half = size / 2;
    auto quadrant = [half](int x, int y) { return (y >= half ? 2 : 0) + (x >= half ? 1 : 0); };
    switch (bitCount) {
    case 1:
        return EmfWriter::makeDib(size, size, 1, topDown, [half](int, int y) { return y >= half ? 1 : 0; },
                                  {rgb(255, 0, 0), rgb(0, 0, 255)});
    case 4:
    case 8:
        return EmfWriter::makeDib(size, size, bitCount, topDown, quadrant,
                                  {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255)});
    case 16: {
        const std::uint32_t values[] = {0x7C00, 0x03E0, 0x001F, 0x7FFF};
        return EmfWriter::makeDib(size, size, 16, topDown, [&](int x, int y) { return values[quadrant(x, y)]; });
    }
    default: {
        const std::uint32_t values[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
        return EmfWriter::makeDib(size, size, bitCount, topDown, [&](int x, int y) { return values[quadrant(x, y)]; });
    }
    }
}

// One page with the same bitmap through STRETCHDIBITS, STRETCHBLT and BITBLT, side by side.
inline Page bitmapPage(int bitCount, bool topDown)
{
    EmfWriter w(kPageMm);
    const emfwriter::Dib dib = quadrantDib(bitCount, topDown);
    const QRect boxes[] = {QRect(20, 20, 100, 100), QRect(200, 20, 100, 100), QRect(20, 200, 40, 40)};
    w.stretchDIBits(boxes[0], dib);
    w.stretchBlt(boxes[1], dib);
    w.bitBlt(boxes[2], dib);
    std::vector<Probe> probes;
    for (const QRect& box : boxes) {
        const int q = box.width() / 4;
        const QPoint topLeft = box.topLeft() + QPoint(q, q);
        const QPoint bottomRight = box.topLeft() + QPoint(3 * q, 3 * q);
        if (bitCount == 1) {
            probes.push_back({topLeft, kRed});
            probes.push_back({bottomRight, kBlue});
        } else {
            probes.push_back({topLeft, kRed});
            probes.push_back({box.topLeft() + QPoint(3 * q, q), kGreen});
            probes.push_back({box.topLeft() + QPoint(q, 3 * q), kBlue});
            probes.push_back({bottomRight, kWhite});
        }
    }
    probes.push_back({{160, 160}, kWhite});
    return {topDown ? "top-down bitmap" : "bottom-up bitmap", w.finish(), probes};
}

// A page of text lines with advances, rules and a filled box: what printed documents hold.
inline QByteArray documentPage(int number, int lines = 40)
{
    EmfWriter w(QSizeF(210, 297));
    const std::uint32_t font = w.createFont(-14, 400, false, QStringLiteral("DejaVu Sans"));
    w.selectObject(font);
    w.setBkMode(1);
    w.setTextAlign(24); // TA_BASELINE
    const QString text = QStringLiteral("Page %1, line %2: the quick brown fox jumps over the lazy dog. 한글 문장");
    for (int line = 0; line < lines; ++line) {
        const QString s = text.arg(number).arg(line + 1);
        QList<int> advances;
        for (QChar c : s)
            advances << (c.unicode() >= 0x1100 ? 14 : 8);
        w.textOut(QPoint(60, 80 + line * 24), s, advances);
    }
    const std::uint32_t pen = w.createPen(0, 2, rgb(0, 0, 128));
    w.selectObject(pen);
    w.moveTo({60, 60});
    w.lineTo({740, 60});
    w.selectObject(w.createBrush(0, rgb(230, 230, 250)));
    w.rectangle(QRect(QPoint(60, 1040), QPoint(740, 1100)));
    w.ellipse(QRect(QPoint(600, 980), QPoint(700, 1030)));
    return w.finish();
}

} // namespace emffixtures
