// A chapter's markup survives the control: elements, attributes, wrappers, the head and
// what the control cannot edit come back as they were, and an edit changes only itself.
#include "TdxControlFixture.h"

#include "package/XmlDocument.h"

#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace tdxtest;

namespace {

class TdxMarkupTest : public ControlFixture {
protected:
    // Puts `text` into the document right after the first `after`.
    void typeAfter(const QString& after, const QString& text)
    {
        const int at = int(edit().toPlainText().indexOf(after));
        ASSERT_GE(at, 0) << after.toStdString();
        QTextCursor cursor = edit().textCursor();
        cursor.setPosition(at + int(after.size()));
        edit().setTextCursor(cursor);
        edit().insertPlainText(text);
    }
    static QString bodyOf(const QString& written)
    {
        const qsizetype start = written.indexOf("<body>\n");
        const qsizetype end = written.lastIndexOf("</body>");
        return start < 0 || end < start ? QString() : written.mid(start + 7, end - start - 7);
    }
};

// Each body is written the way the control lays markup out, so that after typing "!"
// behind "edit" the written body is the same text with that one change.
struct Shape {
    const char* name;
    const char* body;
};

const Shape kShapes[] = {
    {"nested divs", "<div class=\"outer\" id=\"o\">\n<div class=\"inner\">\n<p>edit this</p>\n<p class=\"x\">two</p>\n"
                    "</div>\n<div class=\"inner\">\n<p>same class, another div</p>\n</div>\n</div>\n<p>after</p>"},
    {"span with a class inside a bold run", "<p><b>bold <span class=\"k\">edit</span> run</b> and <strong>By: </strong>x</p>"},
    {"equal elements in a row", "<p><span class=\"i\">one<br /></span> <span class=\"i\"><em>edit</em></span><span class=\"i\"><em>b</em></span></p>"},
    {"id on an inline anchor", "<p>see <a id=\"n1\" href=\"other.xhtml#t\">edit</a> now <a id=\"empty\"></a></p>"},
    {"languages on paragraphs", "<p xml:lang=\"fr\" lang=\"fr\" dir=\"ltr\" title=\"t\" data-x=\"1\">edit en français</p>"},
    {"svg island", "<p>edit</p>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\"><rect  width='5' height=\"5\"/></svg>\n"
                   "<p>x <math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi></math> y</p>"},
    {"comments", "<p>edit<!-- a  note --> more</p>\n<!-- between blocks -->\n<p>x</p>"},
    {"pre", "<pre class=\"code\">edit  two\n    indented &lt;b&gt;</pre>\n<p>x</p>"},
    {"lists", "<ul class=\"l\">\n<li>\nedit\n<ul>\n<li id=\"i2\">nested</li>\n</ul>\n</li>\n<li class=\"c\">two</li>\n</ul>\n"
              "<ol>\n<li>first</li>\n</ol>"},
    {"table", "<table class=\"t\" border=\"1\">\n<tbody>\n<tr class=\"r\"><td class=\"c\">edit</td><th colspan=\"2\">h</th></tr>\n"
              "<tr><td>a</td><td>b</td><td>c</td></tr>\n</tbody>\n</table>\n<p>after</p>"},
    {"table beyond a plain grid", "<table>\n<thead><tr><th>h</th></tr></thead>\n<tr><td><p>a</p></td></tr>\n</table>\n<p>edit</p>"},
    {"blockquote and loose text", "<blockquote class=\"q\">\n<p>edit</p>\n</blockquote>\n<div>\nloose <i>text</i>\n<p>p</p>\n</div>"},
    {"headings and pictures", "<h2 id=\"s1\" class=\"h\">Title</h2>\n<p class=\"fig\"><img src=\"images/p%20q.png\" alt=\"A\" class=\"i\" />"
                              " edit</p>"},
};

void PrintTo(const Shape& shape, std::ostream* os) { *os << shape.name; }

class TdxMarkupShapes : public TdxMarkupTest, public ::testing::WithParamInterface<Shape> {};

TEST_P(TdxMarkupShapes, AnEditChangesOnlyItself)
{
    const QString body = QString::fromUtf8(GetParam().body);
    const QString path = openBody(body);
    EXPECT_FALSE(ctrl.IsModified(1));
    typeAfter("edit", "!");
    const QString written = saveBack(path);
    CXmlDocument doc;
    EXPECT_TRUE(doc.ParseBytes(written.toUtf8())) << written.toStdString();
    QString expected = body;
    expected.replace("edit", "edit!");
    EXPECT_EQ(bodyOf(written).toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Markup, TdxMarkupShapes, ::testing::ValuesIn(kShapes));

TEST_F(TdxMarkupTest, HeadAndRootAttributesComeBackAsTheyWere)
{
    const QString head = "<head>\n  <title>T &amp; U</title>\n  <meta name=\"description\" content=\"d\"/>\n"
                         "  <meta name=\"keywords\" content=\"k\" />\n  <link rel=\"stylesheet\" href=\"s.css\" type=\"text/css\"/>\n"
                         "  <style type=\"text/css\">p { color: red }</style>\n</head>";
    const QByteArray source = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\">\n" + head.toUtf8()
                            + "\n<body class=\"b\">\n<p>x</p>\n</body>\n</html>\n";
    const QString path = dir.filePath("c.xhtml");
    ASSERT_TRUE(writeFile(path, source));
    ASSERT_TRUE(ctrl.OpenDocument(path, "HTML", kOpenKeepStyles));
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\">\n" + head
                                 + "\n<body class=\"b\">\n<p>x</p></body></html>"))
        << written.toStdString();
}

TEST_F(TdxMarkupTest, CharacterNamesAndEditsInsideKeptMarkup)
{
    const QString path = openBody("<p class=\"a\" style=\"text-indent:1em;color:red\">x&nbsp;y &mdash; <em>z</em></p>");
    EXPECT_EQ(edit().document()->begin().text(), QString("x") + QChar(0xA0) + "y " + QChar(0x2014) + " z");
    QTextCursor cursor(edit().document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
    edit().setTextCursor(cursor);
    ASSERT_TRUE(ctrl.RunAction("CharShapeBold"));
    ASSERT_TRUE(ctrl.RunAction("ParagraphShapeAlignCenter"));
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains(QString("<p class=\"a\" style=\"text-indent:1em;color:red;text-align:center\">x")
                                 + QChar(0xA0) + "y " + QChar(0x2014)
                                 + " <em><span style=\"font-weight:bold\">z</span></em></p>"))
        << written.toStdString();
}

TEST_F(TdxMarkupTest, PageSetupAndStylesAreNoEdit)
{
    openBody("<p>x <img src=\"p.png\" alt=\"\" /></p>", kOpenControlStyles);
    CDTdxAction action = ctrl.CreateAction("PageSetup");
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    set.CreateItemSet("PageDef", "PageDef").SetItem("PaperWidth", 40000);
    ASSERT_TRUE(action.Execute(set));
    CDTdxParameterSet view = ctrl.GetViewProperties();
    view.SetItem("ZoomRatio", 150);
    ctrl.SetViewProperties(view);
    EXPECT_FALSE(ctrl.IsModified(1));
}

TEST_F(TdxMarkupTest, BookmarksReachIdsOfParagraphsWrappersAndInlineElements)
{
    openBody("<div id=\"d\">\n<p>one</p>\n</div>\n<p id=\"p2\">two</p>\n<p>three <span id=\"s\">four</span></p>");
    for (const auto& [id, text] : QList<QPair<QString, QString>>{{"d", "one"}, {"p2", "two"}, {"s", "four"}}) {
        CDTdxAction action = ctrl.CreateAction("Bookmark");
        CDTdxParameterSet set = action.CreateSet();
        set.SetItem("Name", id);
        set.SetItem("Command", 1);
        ASSERT_TRUE(action.Execute(set)) << id.toStdString();
        const QTextCursor cursor = edit().textCursor();
        EXPECT_EQ(cursor.block().text().mid(cursor.positionInBlock(), text.size()), text) << id.toStdString();
    }
}

TEST_F(TdxMarkupTest, TextTypedAfterAnIslandIsTextAndADeletedIslandIsGone)
{
    const QString path = openBody("<p>a<!-- note -->b<br class=\"x\"/>c <span id=\"s\"> </span></p>");
    QTextCursor cursor(edit().document());
    cursor.setPosition(2);
    edit().setTextCursor(cursor);
    edit().insertPlainText("typed");
    EXPECT_EQ(bodyOf(saveBack(path)).toStdString(), "<p>a<!-- note -->typedb<br class=\"x\" />c <span id=\"s\"></span></p>");
    cursor.setPosition(1);
    cursor.deleteChar();
    EXPECT_TRUE(bodyOf(saveBack(path)).startsWith("<p>atypedb"));
}

TEST_F(TdxMarkupTest, ANewParagraphKeepsItsWrapperAndAnIdOnlyOnce)
{
    const QString path = openBody("<div class=\"w\">\n<p id=\"a\" class=\"c\">onetwo</p>\n</div>");
    typeAfter("one", "\n");
    EXPECT_EQ(bodyOf(saveBack(path)).toStdString(), "<div class=\"w\">\n<p id=\"a\" class=\"c\">one</p>\n<p class=\"c\">two</p>\n</div>");
}

} // namespace
