// The control's building blocks that callers cannot see through the control alone:
// option strings, em conversion, the style file and GIF previews.
#include "components/tdx/CssUnits.h"
#include "components/tdx/GifEncoder.h"
#include "components/tdx/Options.h"
#include "components/tdx/StyleList.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(TdxOptions, PairsAreReadWithOrWithoutTheFinalSemicolon)
{
    const tdx::Options a("imagelink:true;tdxstyle:false;code:utf8;");
    const tdx::Options b("imagelink:true;tdxstyle:true;code:utf8");
    EXPECT_TRUE(a.flag("imagelink", false));
    EXPECT_FALSE(a.flag("tdxstyle", true));
    EXPECT_TRUE(b.flag("tdxstyle", false));
    EXPECT_EQ(b.value("code"), "utf8");
    EXPECT_EQ(tdx::Options("imagePath:images;textunit:em;").value("imagepath"), "images") << "keys ignore case";
    EXPECT_TRUE(tdx::Options("").flag("forceopen", true)) << "absent keys give the fallback";
    EXPECT_TRUE(tdx::Options("forceopen:maybe").flag("forceopen", true));
}

TEST(TdxCssUnits, EmLengthsBecomeAbsolute)
{
    const QList<QPair<QString, QString>> cases{
        {"font-size:1.5em", "font-size:18pt"},
        {"margin-left: 2em; text-indent:-0.5em", "margin-left: 32px; text-indent:-8px"},
        {"p { font-size: .75em } h1 { margin: 1em 0 }", "p { font-size: 9pt } h1 { margin: 16px 0 }"},
        {"font-family: emoji; width: 10px", "font-family: emoji; width: 10px"},
        {"color: red", "color: red"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(tdx::emToAbsolute(in), out) << in.toStdString();
}

TEST(TdxStyleFile, BuiltInStylesSurviveTheFileAndMatchTheDeliveredTemplate)
{
    const QList<tdx::Style> builtIn = tdx::StyleList::builtIn();
    ASSERT_EQ(builtIn.size(), 20);
    QList<tdx::Style> read;
    ASSERT_TRUE(tdx::StyleList::parse(tdx::StyleList::serialize(builtIn), read));
    ASSERT_EQ(read.size(), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(read[i].sameFormatsAs(builtIn[i])) << i;

    QFile delivered(QStringLiteral(KVX_SOURCE_DIR "/template/basic_template.sty"));
    ASSERT_TRUE(delivered.open(QIODevice::ReadOnly));
    ASSERT_TRUE(tdx::StyleList::parse(delivered.readAll(), read));
    ASSERT_EQ(read.size(), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(read[i].sameFormatsAs(builtIn[i])) << read[i].nameEng.toStdString();
}

TEST(TdxStyleFile, BrokenFilesAreRefusedAndLeaveTheListAlone)
{
    QList<tdx::Style> styles = tdx::StyleList::builtIn();
    for (const char* data : {"", "<other/>", "<tdxstyles><style nameEng=\"x\"", "not xml"})
        EXPECT_FALSE(tdx::StyleList::parse(QByteArray(data), styles)) << data;
    EXPECT_EQ(styles.size(), 20);
}

TEST(TdxGif, EncodedPictureDecodesWithItsColours)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 30; ++y)
            image.setPixel(x, y, qRgb(255, 0, 0));
    const QByteArray gif = tdx::encodeGif(image);
    ASSERT_TRUE(gif.startsWith("GIF8"));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(gif, "GIF"));
    EXPECT_EQ(decoded.size(), image.size());
    EXPECT_EQ(QColor(decoded.pixel(5, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(decoded.pixel(35, 5)), QColor(Qt::white));
    EXPECT_TRUE(tdx::encodeGif(QImage()).isEmpty());
}

} // namespace
