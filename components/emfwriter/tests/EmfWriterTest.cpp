// Our writer's records as libUEMF reads them: every record passes its safety checks and
// the fields sit where that library's structures put them.
#include "components/emfwriter/EmfWriter.h"

#include <gtest/gtest.h>

#include <uemf.h>
#include <uemf_safe.h>

#include <cstring>
#include <map>

using namespace emfwriter;

namespace {

QByteArray everyKindOfRecord()
{
    EmfWriter w(QSizeF(100, 50));
    w.setMapMode(8);
    w.setWindowOrg({1, 2});
    w.setWindowExt({100, 100});
    w.setViewportOrg({3, 4});
    w.setViewportExt({50, 50});
    w.saveDC();
    w.setWorldTransform(1, 0, 0, 1, 5, 5);
    w.modifyWorldTransform(2, 0, 0, 2, 0, 0, 2);
    w.restoreDC(-1);
    w.setPolyFillMode(2);
    w.selectObject(w.createPen(0, 3, rgb(1, 2, 3)));
    w.selectObject(w.extCreatePen(0x10000, 4, rgb(4, 5, 6)));
    w.selectObject(w.createBrush(2, rgb(7, 8, 9), 3));
    const Dib dib = EmfWriter::makeDib(3, 2, 8, false, [](int x, int) { return x; }, {rgb(255, 0, 0), 0, 0});
    w.selectObject(w.createDibPatternBrush(dib));
    w.selectObject(w.createFont(-12, 700, true, QStringLiteral("Face")));
    w.moveTo({1, 1});
    w.lineTo({5, 5});
    w.rectangle(QRect(0, 0, 10, 10));
    w.roundRect(QRect(0, 0, 10, 10), QSize(2, 2));
    w.ellipse(QRect(0, 0, 10, 10));
    w.poly(87, {{0, 0}, {1, 1}, {2, 0}});
    w.poly(4, {{0, 0}, {1, 1}, {2, 0}});
    w.polyPoly(91, {{{0, 0}, {1, 1}, {2, 0}}, {{5, 5}, {6, 6}}});
    w.polyPoly(8, {{{0, 0}, {1, 1}, {2, 0}}, {{5, 5}, {6, 6}}});
    w.beginPath();
    w.rectangle(QRect(0, 0, 10, 10));
    w.closeFigure();
    w.endPath();
    w.selectClipPath(5);
    w.intersectClipRect(QRect(0, 0, 20, 20));
    w.excludeClipRect(QRect(2, 2, 3, 3));
    w.selectClipRegion({QRect(0, 0, 10, 10), QRect(20, 0, 5, 5)}, 1);
    w.setTextColor(rgb(1, 1, 1));
    w.setBkColor(rgb(2, 2, 2));
    w.setBkMode(1);
    w.setTextAlign(24);
    w.textOut({10, 20}, QStringLiteral("Abc"), {5, 6, 7});
    w.textOut({10, 40}, QStringLiteral("한글"));
    w.stretchDIBits(QRect(0, 0, 30, 20), dib);
    w.bitBlt(QRect(0, 0, 3, 2), dib);
    w.stretchBlt(QRect(0, 0, 30, 20), dib);
    w.patBlt(QRect(0, 0, 5, 5), 0x00F00021);
    w.comment("hello");
    return w.finish();
}

} // namespace

TEST(EmfWriter, EveryRecordPassesLibUemfChecksAndTheHeaderCountsThem)
{
    const QByteArray emf = everyKindOfRecord();
    std::map<std::uint32_t, const char*> firstOfType;
    std::uint32_t records = 0;
    for (qsizetype at = 0; at < emf.size();) {
        const auto* record = reinterpret_cast<const U_EMR*>(emf.constData() + at);
        ASSERT_GE(record->nSize, 8u);
        ASSERT_EQ(record->nSize % 4, 0u);
        ASSERT_LE(at + qsizetype(record->nSize), emf.size());
        EXPECT_TRUE(U_emf_record_safe(emf.constData() + at)) << "record type " << record->iType << " at " << at;
        firstOfType.emplace(record->iType, emf.constData() + at);
        ++records;
        at += record->nSize;
    }
    const auto* header = reinterpret_cast<const U_EMRHEADER*>(emf.constData());
    EXPECT_EQ(header->dSignature, 0x464D4520u);
    EXPECT_EQ(header->nBytes, std::uint32_t(emf.size()));
    EXPECT_EQ(header->nRecords, records);
    EXPECT_EQ(header->rclFrame.right, 10000);
    EXPECT_EQ(header->rclFrame.bottom, 5000);
    EXPECT_EQ(header->nHandles, 6u); // five objects and the reserved index 0

    const auto* stretch = reinterpret_cast<const U_EMRSTRETCHDIBITS*>(firstOfType.at(U_EMR_STRETCHDIBITS));
    EXPECT_EQ(stretch->cDest.x, 30);
    EXPECT_EQ(stretch->cSrc.x, 3);
    EXPECT_EQ(stretch->dwRop, 0x00CC0020u);
    const auto* bmi = reinterpret_cast<const U_BITMAPINFOHEADER*>(
        reinterpret_cast<const char*>(stretch) + stretch->offBmiSrc);
    EXPECT_EQ(bmi->biWidth, 3);
    EXPECT_EQ(bmi->biBitCount, 8);

    const auto* blit = reinterpret_cast<const U_EMRSTRETCHBLT*>(firstOfType.at(U_EMR_STRETCHBLT));
    EXPECT_EQ(blit->cDest.x, 30);
    EXPECT_EQ(blit->cSrc.x, 3);
    EXPECT_EQ(blit->cbBmiSrc, std::uint32_t(40 + 3 * 4));

    const auto* text = reinterpret_cast<const U_EMREXTTEXTOUTW*>(firstOfType.at(U_EMR_EXTTEXTOUTW));
    EXPECT_EQ(text->emrtext.ptlReference.y, 20);
    EXPECT_EQ(text->emrtext.nChars, 3u);
    const char16_t* chars = reinterpret_cast<const char16_t*>(reinterpret_cast<const char*>(text) + text->emrtext.offString);
    EXPECT_EQ(QString::fromUtf16(chars, 3), QStringLiteral("Abc"));

    const auto* pen = reinterpret_cast<const U_EMREXTCREATEPEN*>(firstOfType.at(U_EMR_EXTCREATEPEN));
    EXPECT_EQ(pen->elp.elpWidth, 4u);
    EXPECT_EQ(pen->elp.elpColor.Blue, 6);

    const auto* font = reinterpret_cast<const U_EMREXTCREATEFONTINDIRECTW*>(firstOfType.at(U_EMR_EXTCREATEFONTINDIRECTW));
    EXPECT_EQ(font->elfw.elfLogFont.lfHeight, -12);
    EXPECT_EQ(font->elfw.elfLogFont.lfWeight, 700);
}

TEST(EmfWriter, DibRowsFollowTheirOrderAndDepth)
{
    struct Case {
        int bits;
        bool topDown;
        std::uint32_t value; // written at (1, 0), the second pixel of the top row
        QByteArray topRowStart;
    };
    const Case cases[] = {
        {1, false, 1, QByteArray("\x40", 1)},
        {4, true, 0xA, QByteArray("\x0A", 1)},
        {8, false, 0x7F, QByteArray("\x00\x7F", 2)},
        {16, true, 0x7C00, QByteArray("\x00\x00\x00\x7C", 4)},
        {24, false, 0x112233, QByteArray("\x00\x00\x00\x33\x22\x11", 6)},
        {32, true, 0x112233, QByteArray("\x00\x00\x00\x00\x33\x22\x11\x00", 8)},
    };
    for (const Case& c : cases) {
        const Dib dib = EmfWriter::makeDib(2, 2, c.bits, c.topDown,
                                           [&](int x, int y) { return x == 1 && y == 0 ? c.value : 0u; });
        const int stride = ((2 * c.bits + 31) / 32) * 4;
        EXPECT_EQ(dib.bits.size(), stride * 2) << c.bits;
        const QByteArray topRow = dib.bits.mid(c.topDown ? 0 : stride, stride);
        EXPECT_TRUE(topRow.startsWith(c.topRowStart)) << c.bits << " bits: " << topRow.toHex().toStdString();
        EXPECT_EQ(dib.bits.mid(c.topDown ? stride : 0, stride), QByteArray(stride, '\0')) << c.bits;
    }
}
