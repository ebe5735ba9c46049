// What the PDF shows: shapes, bitmaps and text where the EMF puts them, pages of the
// EMF's size, and the document's name and user in the PDF's information.
#include "EmfFixtures.h"
#include "ThirdPartyFixtures.h"
#include "TranscoderTestSupport.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QRegularExpression>

#include <cmath>
#include <numeric>

using namespace platform;
using namespace transcodertest;
using namespace emffixtures;

namespace {

// Pages are rendered at the writer's 96 dpi, so logical units are rendered pixels.
constexpr int kRenderDpi = 96;

bool near(QColor a, QColor b, int tolerance = 48)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

void expectProbes(const QString& pdf, const std::vector<Page>& pages, int firstPage = 1)
{
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const QImage image = renderPage(pdf, firstPage + int(i), kRenderDpi);
        ASSERT_FALSE(image.isNull()) << pages[i].name;
        for (const Probe& probe : pages[i].probes) {
            const QColor seen = image.pixelColor(probe.at);
            EXPECT_TRUE(near(seen, probe.colour))
                << pages[i].name << " at " << probe.at.x() << "," << probe.at.y() << ": saw " << seen.name().toStdString()
                << ", expected " << probe.colour.name().toStdString();
        }
    }
}

std::vector<QByteArray> emfs(const std::vector<Page>& pages)
{
    std::vector<QByteArray> out;
    for (const Page& page : pages)
        out.push_back(page.emf);
    return out;
}

// Columns of a rendered row band that hold anything but white.
std::pair<int, int> inkSpan(const QImage& image, int top, int bottom)
{
    int first = image.width(), last = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!near(image.pixelColor(x, y), kWhite, 30)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

} // namespace

TEST(TranscoderOutput, ShapesPathsClipsAndStateDrawWhereTheEmfPutsThem)
{
    const std::vector<Page> pages = shapePages();
    RecordingWindow window;
    const QString pdf = outputPath("shapes.pdf");
    ASSERT_EQ(transcode(emfs(pages), pdf, window), 1);
    expectProbes(pdf, pages);
}

TEST(TranscoderOutput, BitmapsOfEveryDepthBothRowOrdersAndAllThreeRecords)
{
    std::vector<Page> pages;
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true})
            pages.push_back(bitmapPage(bits, topDown));
    RecordingWindow window;
    const QString pdf = outputPath("bitmaps.pdf");
    ASSERT_EQ(transcode(emfs(pages), pdf, window), 1);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(QStringLiteral("%1 bits").arg(QList<int>{1, 4, 8, 16, 24, 32}[qsizetype(i / 2)]).toStdString());
        expectProbes(pdf, {pages[i]}, int(i) + 1);
    }
}

TEST(TranscoderOutput, PageSizeComesFromTheFrameAndInformationFromTheDocument)
{
    RecordingWindow window;
    const QString pdf = outputPath("sizes.pdf");
    ASSERT_EQ(transcode({textPage("portrait", QSizeF(210, 297)), textPage("landscape", QSizeF(297, 210))}, pdf, window,
                        QStringLiteral("분기 보고서.docx"), QStringLiteral("김철수")),
              1);
    const QString info = pdfInfo(pdf, 2);
    // The writer states page boxes in whole points: within half a point of the frame.
    const QSizeF expected[] = {{595.28, 841.89}, {841.89, 595.28}};
    for (int page = 1; page <= 2; ++page) {
        const QRegularExpressionMatch size
            = QRegularExpression(QStringLiteral("Page +%1 size: +([\\d.]+) x ([\\d.]+) pts").arg(page)).match(info);
        ASSERT_TRUE(size.hasMatch()) << info.toStdString();
        EXPECT_NEAR(size.captured(1).toDouble(), expected[page - 1].width(), 0.5);
        EXPECT_NEAR(size.captured(2).toDouble(), expected[page - 1].height(), 0.5);
    }
    EXPECT_TRUE(info.contains(QRegularExpression("Title: +분기 보고서\\.docx"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Author: +김철수"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +2"))) << info.toStdString();
}

TEST(TranscoderOutput, TextStaysTextInLatinAndHangul)
{
    RecordingWindow window;
    const QString pdf = outputPath("text.pdf");
    ASSERT_EQ(transcode({textPage("Hello transcoder"), textPage(QStringLiteral("안녕하세요 세계"))}, pdf, window), 1);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("Hello transcoder")) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("안녕하세요 세계"))) << text.toStdString();
    // Vector output: no page is an image.
    EXPECT_EQ(runTool("pdfimages", {"-list", pdf}).count('\n'), 2) << "only the header lines of the list";
}

TEST(TranscoderOutput, TextAlignmentColourBackgroundAndAdvances)
{
    struct Case {
        const char* name;
        std::uint32_t align;
        int bkMode;
        QList<int> advances;
        int expectFirstBelow;  // leftmost ink is left of this x (or -1)
        int expectFirstAbove;  // leftmost ink is right of this x (or -1)
        int expectLastBelow;   // rightmost ink is left of this x (or -1)
        bool yellowBackground;
    };
    const Case cases[] = {
        {"left aligned", 0, 1, {}, -1, 195, -1, false},
        {"right aligned", 2, 1, {}, -1, -1, 205, false},
        {"centred", 6, 1, {}, 195, -1, -1, false},
        {"opaque background", 0, 2, {}, -1, 195, -1, true},
        {"wide advances", 0, 1, {60, 60, 60}, -1, 195, -1, false},
        // A little wider than our font: drawn as one stretched run that ends where the advances do.
        {"slightly wide advances", 0, 1, {30, 30, 30}, -1, 195, 292, false},
    };
    std::vector<QByteArray> pages;
    for (const Case& c : cases) {
        EmfWriter w(kPageMm);
        w.selectObject(w.createFont(-30, 700, false, QStringLiteral("DejaVu Sans")));
        w.setTextColor(rgb(255, 0, 0));
        w.setBkColor(rgb(255, 255, 0));
        w.setBkMode(c.bkMode);
        w.setTextAlign(c.align);
        w.textOut(QPoint(200, 100), QStringLiteral("HHH"), c.advances);
        pages.push_back(w.finish());
    }
    RecordingWindow window;
    const QString pdf = outputPath("align.pdf");
    ASSERT_EQ(transcode(pages, pdf, window), 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const QImage image = renderPage(pdf, int(i) + 1, kRenderDpi);
        const auto [first, last] = inkSpan(image, 95, 140);
        ASSERT_GE(last, 0) << c.name << ": no text drawn";
        if (c.expectFirstBelow >= 0)
            EXPECT_LT(first, c.expectFirstBelow) << c.name;
        if (c.expectFirstAbove >= 0)
            EXPECT_GT(first, c.expectFirstAbove) << c.name;
        if (c.expectLastBelow >= 0)
            EXPECT_LT(last, c.expectLastBelow) << c.name;
        bool red = false, yellow = false;
        for (int y = 95; y < 140; ++y)
            for (int x = first; x <= last; ++x) {
                red = red || near(image.pixelColor(x, y), kRed, 60);
                yellow = yellow || near(image.pixelColor(x, y), kYellow, 30);
            }
        EXPECT_TRUE(red) << c.name;
        EXPECT_EQ(yellow, c.yellowBackground) << c.name;
        if (!c.advances.isEmpty()) {
            const int span = std::accumulate(c.advances.begin(), c.advances.end(), 0);
            EXPECT_GT(last - first, span - 50) << c.name << ": the advances spread the letters";
        }
    }
}

TEST(TranscoderOutput, PagesWrittenByLibEmfAndLibUemf)
{
    const QByteArray gdiPage = thirdparty::libEmfPage(outputPath("libemf.emf"));
    const QByteArray bitmapPage = thirdparty::libUemfBitmapPage(outputPath("libuemf.emf"));
    ASSERT_GT(gdiPage.size(), 88);
    ASSERT_GT(bitmapPage.size(), 88);
    RecordingWindow window;
    const QString pdf = outputPath("thirdparty.pdf");
    ASSERT_EQ(transcode({gdiPage, bitmapPage}, pdf, window), 1);

    EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("libEMF 글자")));
    // Millimetres of the libEMF page at 96 dpi: the rectangle spans 55-95 x 25-45 mm,
    // the ellipse is centred at 25, 75 mm.
    const auto at = [](double xMm, double yMm) { return QPoint(int(xMm * 96 / 25.4), int(yMm * 96 / 25.4)); };
    expectProbes(pdf, {{"libEMF page", {}, {{at(75, 35), kBlue}, {at(25, 75), kGreen}, {at(75, 75), kWhite},
                                             {at(52, 35), kWhite}}},
                       {"libUEMF bitmap", {}, {{{40, 70}, kRed}, {{100, 70}, kBlue}, {{200, 200}, kWhite}}}});
    // The page's y axis grows upwards; the text still reads downwards from its top.
    const QImage first = renderPage(pdf, 1, kRenderDpi);
    bool redText = false;
    for (int y = at(0, 5).y(); y < at(0, 12).y(); ++y)
        for (int x = at(5, 0).x(); x < at(40, 0).x(); ++x)
            redText = redText || near(first.pixelColor(x, y), kRed, 60);
    EXPECT_TRUE(redText);
}

// Copied text keeps its words: one space between words and none inside them, whether the
// EMF gives the font's own advances, its own advances that match our font, or ones that do not.
TEST(TranscoderOutput, ExtractedTextKeepsWordGaps)
{
    enum class Advances { None, OurFont, Wider };
    struct Case {
        const char* name;
        QString text;
        QString face;
        Advances advances;
    };
    const Case cases[] = {
        {"latin, no advances", QStringLiteral("Alpha page two"), QStringLiteral("DejaVu Sans"), Advances::None},
        {"latin, our font's advances", QStringLiteral("Alpha page two"), QStringLiteral("DejaVu Sans"),
         Advances::OurFont},
        {"latin, wider advances", QStringLiteral("Alpha page two"), QStringLiteral("DejaVu Sans"), Advances::Wider},
        {"hangul, no advances", QStringLiteral("안녕하세요 세계 여러분"), QStringLiteral("NanumGothic"), Advances::None},
        {"hangul, our font's advances", QStringLiteral("안녕하세요 세계 여러분"), QStringLiteral("NanumGothic"),
         Advances::OurFont},
        {"hangul, wider advances", QStringLiteral("안녕하세요 세계 여러분"), QStringLiteral("NanumGothic"),
         Advances::Wider},
    };
    constexpr int kHeight = 16; // pixels at the writer's 96 dpi, the page's logical units
    for (const Case& c : cases) {
        QFont font(c.face);
        font.setPixelSize(kHeight);
        font.setKerning(false);
        const QFontMetricsF metrics(font);
        QList<int> advances;
        if (c.advances != Advances::None)
            for (QChar ch : c.text)
                advances.append(int(std::lround(metrics.horizontalAdvance(ch) * (c.advances == Advances::Wider ? 1.1 : 1))));
        EmfWriter w(kPageMm);
        w.selectObject(w.createFont(-kHeight, 400, false, c.face));
        w.setBkMode(1);
        w.textOut(QPoint(10, 100), c.text, advances);
        RecordingWindow window;
        const QString pdf = outputPath("words.pdf");
        ASSERT_EQ(transcode({w.finish()}, pdf, window), 1) << c.name;
        EXPECT_EQ(runTool("pdftotext", {pdf, "-"}).trimmed().toStdString(), c.text.toStdString()) << c.name;
    }
}

// Words are shaped once per font and document and drawn again from that: a word that comes
// back in another size, on another page, or next to words shaped differently (tabs,
// right-to-left, mixed scripts, very long words) still shows its own text at its own size.
TEST(TranscoderOutput, RepeatedWordsKeepTheirTextAndSizeAcrossFontsAndPages)
{
    const QString lines[] = {
        QStringLiteral("repeat words repeat"),
        QStringLiteral("tab\there"),
        QStringLiteral("مرحبا repeat"),
        QStringLiteral("한글abc repeat 한글abc"),
        QString(70, u'i'),
    };
    const auto page = [&](int height) {
        EmfWriter w(QSizeF(210, 297));
        w.selectObject(w.createFont(-height, 400, false, QStringLiteral("DejaVu Sans")));
        w.setBkMode(1);
        for (int i = 0; i < int(std::size(lines)); ++i)
            w.textOut(QPoint(10, 60 + i * 2 * height), lines[i]);
        return w.finish();
    };
    RecordingWindow window;
    const QString pdf = outputPath("repeated-words.pdf");
    ASSERT_EQ(transcode({page(12), page(24), page(12)}, pdf, window), 1);

    // The width of the first "repeat" on each page, from the words' boxes.
    const auto repeatWidth = [&](int number) {
        const QString boxes = runTool("pdftotext", {"-bbox", "-f", QString::number(number), "-l", QString::number(number),
                                                    pdf, "-"});
        const QRegularExpressionMatch word = QRegularExpression(
            QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">repeat<")).match(boxes);
        return word.hasMatch() ? word.captured(2).toDouble() - word.captured(1).toDouble() : 0.0;
    };
    const double small = repeatWidth(1);
    ASSERT_GT(small, 0);
    EXPECT_NEAR(repeatWidth(2) / small, 2.0, 0.1);
    EXPECT_NEAR(repeatWidth(3), small, 0.01);
    for (int number = 1; number <= 3; ++number) {
        const QString text = runTool("pdftotext", {"-f", QString::number(number), "-l", QString::number(number), pdf, "-"});
        for (const QString& expected : {QStringLiteral("repeat words repeat"), QStringLiteral("한글abc repeat 한글abc"),
                                        QStringLiteral("tab"), QString(70, u'i')})
            EXPECT_TRUE(text.contains(expected)) << "page " << number << ": " << text.toStdString();
    }
}
