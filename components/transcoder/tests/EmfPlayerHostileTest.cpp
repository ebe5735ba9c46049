// Malformed and hostile records: each is skipped, nothing is read outside the record,
// and what follows still draws. Pages are played onto a small raster image.
#include "EmfFixtures.h"
#include "components/transcoder/emf/EmfPlayer.h"
#include "components/transcoder/emf/EmfReader.h"
#include "components/transcoder/emf/RecordTypes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QtEndian>

#include <functional>

using namespace emffixtures;
using namespace emfplay;

namespace {

struct Played {
    PlayStats stats;
    bool opened = false;
    bool broken = false;
    QImage image;
};

Played play(const QByteArray& emf)
{
    Played out;
    EmfReader reader;
    out.opened = reader.open(reinterpret_cast<const unsigned char*>(emf.constData()), std::size_t(emf.size()));
    if (!out.opened)
        return out;
    out.image = QImage(378, 378, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    QPainter painter(&out.image);
    EmfPlayer player(painter, reader.header(), 378 / 100.0);
    EmfPlayer::playAll(reader, player);
    out.stats = player.stats();
    out.broken = reader.broken();
    return out;
}

QByteArray u32s(std::initializer_list<std::uint32_t> values)
{
    QByteArray bytes;
    for (std::uint32_t v : values) {
        char b[4];
        qToLittleEndian(v, b);
        bytes.append(b, 4);
    }
    return bytes;
}

QByteArray floats(std::initializer_list<float> values)
{
    QByteArray bytes;
    for (float v : values)
        bytes.append(reinterpret_cast<const char*>(&v), 4);
    return bytes;
}

// A 2 x 2 DIB header with the given fields, for bitmap records.
QByteArray dibHeader(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0)
{
    return u32s({40, std::uint32_t(width), std::uint32_t(height), std::uint32_t(1 | bits << 16), compression, 0, 0, 0,
                 0, 0});
}

// STRETCHDIBITS drawing (10,10)-(60,60) with the given header and bits.
QByteArray stretchDIBitsPayload(const QByteArray& info, const QByteArray& bits, std::uint32_t offInfo = 80,
                                std::uint32_t offBits = 0)
{
    if (offBits == 0)
        offBits = offInfo + std::uint32_t(info.size());
    return u32s({10, 10, 60, 60, 10, 10, 0, 0, 2, 2, offInfo, std::uint32_t(info.size()), offBits,
                 std::uint32_t(bits.size()), 0, 0x00CC0020, 50, 50})
        + info + bits;
}

} // namespace

TEST(EmfPlayerHostile, BadRecordsAreSkippedAndTheRestStillDraws)
{
    struct Case {
        const char* name;
        std::function<void(EmfWriter&)> bad;
    };
    const Case cases[] = {
        {"unknown record type", [](EmfWriter& w) { w.record(9999, u32s({1, 2, 3})); }},
        {"EMF+ comment", [](EmfWriter& w) { w.comment(QByteArray("EMF+\x02\x40\x00\x00", 8)); }},
        {"record too short for its fields", [](EmfWriter& w) { w.record(EMR_SETWINDOWEXTEX, u32s({5})); }},
        {"polygon count beyond the record",
         [](EmfWriter& w) { w.record(EMR_POLYGON16, u32s({0, 0, 10, 10, 0x40000000, 0x00010001})); }},
        {"polygon count that wraps around",
         [](EmfWriter& w) { w.record(EMR_POLYGON, u32s({0, 0, 10, 10, 0xE0000000, 1, 1, 2, 2})); }},
        {"poly-polygon counts that do not add up",
         [](EmfWriter& w) { w.record(EMR_POLYPOLYGON16, u32s({0, 0, 10, 10, 2, 3, 2, 2, 0, 0, 0})); }},
        {"poly-polygon with a huge polygon count",
         [](EmfWriter& w) { w.record(EMR_POLYPOLYGON, u32s({0, 0, 10, 10, 0xFFFFFFFF, 3, 3})); }},
        {"Bezier with a count that is no curve", [](EmfWriter& w) { w.poly(EMR_POLYBEZIER16, {{0, 0}, {5, 5}}); }},
        {"select beyond the handle table", [](EmfWriter& w) { w.selectObject(5000); }},
        {"select handle zero", [](EmfWriter& w) { w.selectObject(0); }},
        {"select an unknown stock object", [](EmfWriter& w) { w.selectObject(0x80000063); }},
        {"select a deleted object",
         [](EmfWriter& w) {
             const std::uint32_t pen = w.createPen(0, 1, 0);
             w.deleteObject(pen);
             w.selectObject(pen);
         }},
        {"create a pen beyond the handle table", [](EmfWriter& w) { w.record(EMR_CREATEPEN, u32s({7000, 0, 1, 0, 0})); }},
        {"delete beyond the handle table", [](EmfWriter& w) { w.deleteObject(0x7FFFFFFF); }},
        {"restore without a save", [](EmfWriter& w) { w.restoreDC(-1); }},
        {"restore deeper than saved",
         [](EmfWriter& w) {
             w.saveDC();
             w.restoreDC(-5);
             w.restoreDC(-1);
         }},
        {"saves beyond the depth limit",
         [](EmfWriter& w) {
             for (int i = 0; i < EmfPlayer::kMaxSavedStates + 10; ++i)
                 w.saveDC();
             w.restoreDC(std::numeric_limits<int>::min());
             w.restoreDC(1);
         }},
        {"zero window extent",
         [](EmfWriter& w) {
             w.setMapMode(8);
             w.setWindowExt(QSize(0, 0));
             w.setMapMode(1);
         }},
        {"singular world transform", [](EmfWriter& w) { w.setWorldTransform(0, 0, 0, 0, 5, 5); }},
        {"world transform of NaN",
         [](EmfWriter& w) { w.record(EMR_SETWORLDTRANSFORM, floats({NAN, 0, 0, 1, 0, 0})); }},
        {"modify transform with an unknown mode", [](EmfWriter& w) { w.modifyWorldTransform(2, 0, 0, 2, 0, 0, 77); }},
        {"text string beyond the record",
         [](EmfWriter& w) {
             w.record(EMR_EXTTEXTOUTW, u32s({0, 0, 0, 0, 1, 0, 0, 10, 10, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0}));
         }},
        {"text advances beyond the record",
         [](EmfWriter& w) {
             w.record(EMR_EXTTEXTOUTW, u32s({0, 0, 0, 0, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, 0, 0, 0xFFFFFFF0, 0x00420041}));
         }},
        {"bitmap header larger than its block",
         [](EmfWriter& w) {
             w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(2, 2, 24).left(20), QByteArray(16, 0)));
         }},
        {"bitmap of absurd size",
         [](EmfWriter& w) {
             w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(1 << 20, 1 << 20, 24), QByteArray(16, 0)));
         }},
        {"bitmap rows longer than its bits",
         [](EmfWriter& w) { w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(64, 64, 32), QByteArray(64, 0))); }},
        {"bitmap of the most negative height",
         [](EmfWriter& w) {
             w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(2, std::numeric_limits<std::int32_t>::min(), 8),
                                                              QByteArray(16, 0)));
         }},
        {"bitmap of 7 bits a pixel",
         [](EmfWriter& w) { w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(2, 2, 7), QByteArray(16, 0))); }},
        {"run-length bitmap",
         [](EmfWriter& w) { w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(2, 2, 8, 1), QByteArray(16, 0))); }},
        {"palette promised but missing",
         [](EmfWriter& w) {
             QByteArray info = dibHeader(2, 2, 8);
             qToLittleEndian<quint32>(200, info.data() + 32); // biClrUsed
             w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(info, QByteArray(8, 0)));
         }},
        {"bitmap offsets beyond the record",
         [](EmfWriter& w) {
             w.record(EMR_STRETCHDIBITS, stretchDIBitsPayload(dibHeader(2, 2, 24), QByteArray(16, 0), 0xFFFFFFF0));
         }},
        {"blit with offsets wrapping around",
         [](EmfWriter& w) {
             QByteArray payload = u32s({0, 0, 10, 10, 0, 0, 10, 10, 0x00CC0020, 0, 0});
             payload += floats({1, 0, 0, 1, 0, 0});
             payload += u32s({0, 0, 0xFFFFFFFC, 44, 8, 16});
             w.record(EMR_BITBLT, payload);
         }},
        {"clip region with more rectangles than bytes",
         [](EmfWriter& w) { w.record(EMR_EXTSELECTCLIPRGN, u32s({48, 1, 32, 1, 0x10000000, 16, 0, 0, 10, 10, 0, 0})); }},
        {"clip region with an unknown mode", [](EmfWriter& w) { w.selectClipRegion({QRect(0, 0, 5, 5)}, 9); }},
        {"fill without a path", [](EmfWriter& w) { w.fillPath(); }},
        {"clip to a path still open",
         [](EmfWriter& w) {
             w.beginPath();
             w.rectangle(QRect(0, 0, 10, 10));
             w.selectClipPath(5);
             w.abortPath();
         }},
        {"font record cut short", [](EmfWriter& w) { w.record(EMR_EXTCREATEFONTINDIRECTW, u32s({1, 12, 0, 0, 0, 400})); }},
    };
    for (const Case& c : cases) {
        EmfWriter w(kPageMm);
        c.bad(w);
        solidBrush(w, rgb(255, 0, 0));
        w.rectangle(QRect(QPoint(100, 100), QPoint(200, 200)));
        const Played played = play(w.finish());
        ASSERT_TRUE(played.opened) << c.name;
        EXPECT_FALSE(played.broken) << c.name;
        EXPECT_GE(played.stats.skipped, 1u) << c.name;
        EXPECT_EQ(played.image.pixelColor(150, 150), kRed) << c.name << ": what follows the bad record is drawn";
    }
}

TEST(EmfPlayerHostile, RecordSizesThatCannotBeTrustedEndThePage)
{
    struct Case {
        const char* name;
        std::uint32_t size;
    };
    const Case cases[] = {
        {"size not a multiple of four", 13},
        {"size shorter than a record header", 4},
        {"size beyond the data", 0x7FFFFFF0},
    };
    for (const Case& c : cases) {
        EmfWriter w(kPageMm);
        solidBrush(w, rgb(0, 0, 255));
        w.rectangle(QRect(QPoint(10, 10), QPoint(50, 50)));
        w.record(EMR_SETBKMODE, u32s({1}));
        QByteArray emf = w.finish();
        // The SETBKMODE record sits just before the end record (20 bytes) and is 12 long.
        qToLittleEndian<quint32>(c.size, emf.data() + emf.size() - 20 - 12 + 4);
        const Played played = play(emf);
        ASSERT_TRUE(played.opened) << c.name;
        EXPECT_TRUE(played.broken) << c.name;
        EXPECT_EQ(played.image.pixelColor(30, 30), kBlue) << c.name << ": records before it are drawn";
    }
}

TEST(EmfPlayerHostile, HeadersTheReaderRefuses)
{
    const QByteArray good = EmfWriter(kPageMm).finish();
    struct Case {
        const char* name;
        int offset;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"not a header record", 0, 2},
        {"wrong signature", 40, 0x12345678},
        {"header size not a multiple of four", 4, 90},
        {"header size beyond the data", 4, 4096},
    };
    for (const Case& c : cases) {
        QByteArray emf = good;
        qToLittleEndian<quint32>(c.value, emf.data() + c.offset);
        EXPECT_FALSE(play(emf).opened) << c.name;
    }
    EXPECT_FALSE(play(good.left(87)).opened) << "shorter than a header";

    // A reference device of zero size or an empty frame still gives a usable page.
    QByteArray odd = good;
    qToLittleEndian<quint32>(0, odd.data() + 72);                // szlDevice.cx
    qToLittleEndian<qint32>(-5, odd.data() + 32);               // rclFrame.right left of its left
    EmfReader reader;
    ASSERT_TRUE(reader.open(reinterpret_cast<const unsigned char*>(odd.constData()), std::size_t(odd.size())));
    EXPECT_GT(reader.header().pageMillimetres().width(), 0);
    EXPECT_GT(reader.header().hundredthsPerPixelX(), 0);
}

TEST(EmfPlayerHostile, AdvancesStayWithTheirCharactersEvenAfterAByteOrderMark)
{
    // A leading U+FEFF is a character of the string with an advance of its own; dropping
    // it would pair the advances with the wrong letters (and overrun them).
    EmfWriter w(kPageMm);
    w.selectObject(w.createFont(-40, 700, false, QStringLiteral("DejaVu Sans")));
    w.setBkMode(1);
    w.textOut(QPoint(50, 100), QString(QChar(0xFEFF)) + QStringLiteral("HH"), {0, 150, 10});
    const Played played = play(w.finish());
    ASSERT_TRUE(played.opened);
    EXPECT_EQ(played.stats.skipped, 0u);
    auto inkBetween = [&](int left, int right) {
        for (int y = 100; y < 150; ++y)
            for (int x = left; x < right; ++x)
                if (played.image.pixelColor(x, y).lightness() < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkBetween(50, 90));   // the first H at the reference point
    EXPECT_TRUE(inkBetween(200, 240)); // the second 150 units on
    EXPECT_FALSE(inkBetween(100, 190));
}
