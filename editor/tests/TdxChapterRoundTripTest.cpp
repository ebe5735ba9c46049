// Chapters opened in the real control and written back: the written file is well-formed
// XHTML the package's XML layer reads, keeps structure, formats and text, and opening it
// again gives the same file.
#include "TdxTestSupport.h"

#include "package/XmlDocument.h"
#include "platform/testsupport/TestCorpus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tdxtest;

namespace {

class TdxChapterRoundTripTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CDTdxCtrl0 ctrl;

    void SetUp() override { ASSERT_TRUE(ctrl.Create(nullptr, QRect(0, 0, 800, 600), 0)); }

    // Opens, saves, reopens and saves again; returns the first written file.
    QByteArray roundTrip(const QString& path, QByteArray* second = nullptr)
    {
        EXPECT_TRUE(ctrl.OpenDocument(path, "HTML", kOpenKeepStyles));
        const QString out = QFileInfo(path).absolutePath() + "/written.xhtml";
        EXPECT_TRUE(ctrl.SaveDocumentAs(out, "XHTML", kSaveOptions));
        const QByteArray first = readFile(out);
        ctrl.ClearDocument(1);
        EXPECT_TRUE(ctrl.OpenDocument(out, "", kReopenKeepStyles));
        const QString again = QFileInfo(path).absolutePath() + "/written-again.xhtml";
        EXPECT_TRUE(ctrl.SaveDocumentAs(again, "XHTML", kSaveOptions));
        if (second)
            *second = readFile(again);
        return first;
    }
};

// The first line where two written chapters differ, for a readable failure.
std::string firstDifference(const QByteArray& a, const QByteArray& b)
{
    const QList<QByteArray> left = a.split('\n');
    const QList<QByteArray> right = b.split('\n');
    for (qsizetype i = 0; i < qMax(left.size(), right.size()); ++i) {
        const QByteArray l = left.value(i);
        const QByteArray r = right.value(i);
        if (l != r) {
            qsizetype at = 0;
            while (at < l.size() && at < r.size() && l[at] == r[at])
                ++at;
            const qsizetype from = qMax<qsizetype>(0, at - 80);
            return QStringLiteral("line %1:\n  %2\n  %3").arg(i + 1)
                .arg(QString::fromUtf8(l.mid(from, 200)), QString::fromUtf8(r.mid(from, 200))).toStdString();
        }
    }
    return std::string();
}

int countOf(const CXmlDocument& doc, const QString& tag)
{
    return int(doc.GetDocumentElement().GetElementsByTagName(tag).size());
}

QString bodyText(const CXmlDocument& doc)
{
    const CXmlNode body = doc.GetDocumentElement().GetFirstChildElement("body");
    return body.GetTextContent().remove(QRegularExpression(QStringLiteral("\\s+")));
}

QStringList idsOf(const CXmlNode& node)
{
    QStringList ids;
    for (const CXmlNode& child : node.GetChildNodes()) {
        if (child.GetType() != CXmlNode::NODE_ELEMENT)
            continue;
        if (child.HasAttribute("id"))
            ids << child.GetAttribute("id");
        ids += idsOf(child);
    }
    return ids;
}

TEST_F(TdxChapterRoundTripTest, FormatsSurviveAndTheWrittenChapterIsStable)
{
    const QString body = QStringLiteral(
        "<h1 id=\"top\">Title</h1>\n"
        "<h2>Section</h2>\n"
        "<p style=\"text-align:center\">Centred</p>\n"
        "<p style=\"text-align:right;margin-left:2em;text-indent:-1em;line-height:150%\">Hanging</p>\n"
        "<p><b>bold</b> <i>italic</i> <u>under</u> <span style=\"text-decoration:line-through\">struck</span>"
        " x<sup>2</sup> H<sub>2</sub>O <span style=\"font-size:1.5em\">big</span>"
        " <span style=\"color:#ff0000\">red</span> <a href=\"other.xhtml#b1\">link</a> 한글</p>\n"
        "<ul><li>one<ul><li>nested</li></ul></li><li>two</li></ul>\n"
        "<ol><li>first</li></ol>\n"
        "<table border=\"1\"><tr><td>a</td><td>b</td></tr><tr><td colspan=\"2\">wide</td></tr></table>\n"
        "<p>picture <img src=\"images/p.png\" alt=\"a picture\" width=\"40\" height=\"20\" /> and <a id=\"b1\"></a>mark</p>\n");
    QDir(dir.path()).mkpath("images");
    ASSERT_TRUE(writeFile(dir.filePath("images/p.png"), pngBytes(80, 40)));
    ASSERT_TRUE(writeFile(dir.filePath("c.xhtml"), chapter(body)));

    QByteArray second;
    const QByteArray first = roundTrip(dir.filePath("c.xhtml"), &second);
    EXPECT_EQ(firstDifference(first, second), "");
    EXPECT_FALSE(first.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";

    CXmlDocument doc;
    ASSERT_TRUE(doc.ParseBytes(first)) << first.constData();
    const QString text = QString::fromUtf8(first);
    EXPECT_TRUE(text.contains("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\""));
    for (const auto& [tag, count] : QList<QPair<QString, int>>{
             {"h1", 1}, {"h2", 1}, {"ul", 2}, {"ol", 1}, {"li", 4}, {"table", 1}, {"tr", 2}, {"td", 3},
             {"img", 1}, {"sup", 1}, {"sub", 1}})
        EXPECT_EQ(countOf(doc, tag), count) << tag.toStdString();
    for (const char* expected : {"<p style=\"text-align:center\">Centred</p>",
                                 "style=\"text-align:right;margin-left:2em;text-indent:-1em;line-height:150%\"",
                                 "<b>bold</b>", "<i>italic</i>", "<u>under</u>",
                                 "<span style=\"text-decoration:line-through\">struck</span>",
                                 "<span style=\"font-size:1.5em\">big</span>", "<span style=\"color:#ff0000\">red</span>",
                                 "<a href=\"other.xhtml#b1\">link</a>",
                                 "colspan=\"2\"", "src=\"images/p.png\"", "alt=\"a picture\"",
                                 "width=\"40\"", "height=\"20\"", "<a id=\"b1\"></a>", "<h1 id=\"top\">Title</h1>",
                                 "한글"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(doc.GetDocumentElement().SelectNodes("/html/body/p/img").size(), 1)
        << "pictures stay directly in a paragraph, where the picture clean-up looks for them";
}

TEST_F(TdxChapterRoundTripTest, HeadKeepsTitleAndStyleSheetLinks)
{
    ASSERT_TRUE(writeFile(dir.filePath("c.xhtml"),
                          chapter("<p>x</p>", "<link href=\"../styles/s.css\" rel=\"stylesheet\" type=\"text/css\"/>")
                              .replace("<title>T</title>", "<title>Chapter &amp; one</title>")));
    const QByteArray written = roundTrip(dir.filePath("c.xhtml"));
    CXmlDocument doc;
    ASSERT_TRUE(doc.ParseBytes(written));
    EXPECT_EQ(doc.GetDocumentElement().SelectSingleNode("/html/head/title").GetTextContent(), "Chapter & one");
    EXPECT_EQ(doc.GetDocumentElement().SelectSingleNode("/html/head/link").GetAttribute("href"), "../styles/s.css");
}

TEST_F(TdxChapterRoundTripTest, EmptyChapterStillHasABodyBlock)
{
    ASSERT_TRUE(writeFile(dir.filePath("c.xhtml"), chapter("")));
    const QByteArray written = roundTrip(dir.filePath("c.xhtml"));
    CXmlDocument doc;
    ASSERT_TRUE(doc.ParseBytes(written));
    EXPECT_EQ(countOf(doc, "p"), 1);
}

// Chapters of real books, each with its own mix of markup.
struct CorpusChapter {
    const char* book;
    const char* member;
};

void PrintTo(const CorpusChapter& c, std::ostream* os) { *os << c.book; }

class TdxCorpusRoundTripTest : public TdxChapterRoundTripTest,
                               public ::testing::WithParamInterface<CorpusChapter> {};

TEST_P(TdxCorpusRoundTripTest, StructureAndTextSurvive)
{
    const CorpusChapter c = GetParam();
    KVX_NEED_CORPUS_FILE(corpusPath(c.book));
    ASSERT_TRUE(extractFromCorpus(c.book, dir.path()));
    const QString path = dir.filePath(QString::fromUtf8(c.member));
    CXmlDocument original;
    ASSERT_TRUE(original.Parse(path));

    QByteArray second;
    const QByteArray first = roundTrip(path, &second);
    EXPECT_EQ(firstDifference(first, second), "") << "the written chapter is stable";
    CXmlDocument written;
    ASSERT_TRUE(written.ParseBytes(first));
    EXPECT_EQ(bodyText(written), bodyText(original));
    for (const char* tag : {"h1", "h2", "h3", "li", "img", "table", "sup", "sub"})
        EXPECT_EQ(countOf(written, tag), countOf(original, tag)) << tag;
    const QStringList writtenIds = idsOf(written.GetDocumentElement());
    for (const QString& id : idsOf(original.GetDocumentElement().GetFirstChildElement("body")))
        EXPECT_TRUE(writtenIds.contains(id)) << "bookmark " << id.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Corpus, TdxCorpusRoundTripTest, ::testing::Values(
    CorpusChapter{"calibre-quickstart-eng.epub", "text/the_main_gui_window.xhtml"},
    CorpusChapter{"ec20-wikisource-shakespeare.epub", "OPS/Shakespeare.xhtml"},
    CorpusChapter{"pressbooks-metamorphosis.epub", "OEBPS/chapter-001-chapter-i.html"},
    CorpusChapter{"versone-typical-epub2.epub", "Content/chapter1.html"},
    CorpusChapter{"gutenberg-hittel-gold-mines.epub", "OEBPS/@public@vhost@g@gutenberg@html@files@29926@29926-h@29926-h-1.htm.html"},
    CorpusChapter{"gutenberg-alice-2010.epub", "19033/www.gutenberg.org@files@19033@19033-h@19033-h-0.htm"}));

} // namespace

namespace {

// The skeleton chapters every new book starts from.
class TdxTemplateRoundTripTest : public TdxChapterRoundTripTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(TdxTemplateRoundTripTest, StructureAndTextSurvive)
{
    const QString source = QStringLiteral(KVX_SOURCE_DIR "/template/") + QString::fromUtf8(GetParam());
    ASSERT_TRUE(QFileInfo::exists(source)) << "template chapter missing: " << source.toStdString();
    const QString path = dir.filePath(GetParam());
    ASSERT_TRUE(QFile::copy(source, path));
    CXmlDocument original;
    ASSERT_TRUE(original.Parse(path));

    QByteArray second;
    const QByteArray first = roundTrip(path, &second);
    EXPECT_EQ(firstDifference(first, second), "");
    CXmlDocument written;
    ASSERT_TRUE(written.ParseBytes(first));
    EXPECT_EQ(bodyText(written), bodyText(original));
    for (const char* tag : {"h1", "h2", "h3", "li", "img", "table"})
        EXPECT_EQ(countOf(written, tag), countOf(original, tag)) << tag;
    EXPECT_EQ(written.GetDocumentElement().SelectSingleNode("/html/head/title").GetTextContent(),
              original.GetDocumentElement().SelectSingleNode("/html/head/title").GetTextContent());
    EXPECT_EQ(written.GetDocumentElement().GetAttribute("xml:lang"), original.GetDocumentElement().GetAttribute("xml:lang"));
    const QStringList writtenIds = idsOf(written.GetDocumentElement());
    for (const QString& id : idsOf(original.GetDocumentElement().GetFirstChildElement("body")))
        EXPECT_TRUE(writtenIds.contains(id)) << "bookmark " << id.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Template, TdxTemplateRoundTripTest,
                         ::testing::Values("content000.xhtml", "ch01.xhtml", "ch02.xhtml", "ch03.xhtml",
                                           "ch04.xhtml", "ch05.xhtml"));

} // namespace
