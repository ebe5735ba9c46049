// The real control driven through CDTdxCtrl0 the way the editor drives it: pictures as
// drawing objects, bookmarks, page setup, paragraph indent, styles, views and states.
#include "TdxControlFixture.h"

#include "package/XmlDocument.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace tdxtest;

namespace {

class TdxControlTest : public ControlFixture {
protected:
    void moveCaret(QTextCursor::MoveOperation move, int count = 1)
    {
        QTextCursor cursor = edit().textCursor();
        cursor.movePosition(move, QTextCursor::MoveAnchor, count);
        edit().setTextCursor(cursor);
    }
    bool runAction(const QString& name, const QList<QPair<QString, QVariant>>& items)
    {
        CDTdxAction action = ctrl.CreateAction(name);
        CDTdxParameterSet set = action.CreateSet();
        action.GetDefault(set);
        for (const auto& [item, value] : items)
            set.SetItem(item, value);
        return action.Execute(set);
    }
};

// ---------------------------------------------------------------- pictures

TEST_F(TdxControlTest, PastedPictureIsEmbeddedAndLandsInTheImagesFolder)
{
    const QString path = openBody("<p>before</p>");
    moveCaret(QTextCursor::End);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QApplication::clipboard()->setImage(image);
    ASSERT_TRUE(ctrl.RunAction("Paste"));

    QList<CDTdxShapeObject> objects = pictures(ctrl);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects[0].GetProperties().CreateItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr").GetItemLong("Embedded"), 1);

    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("src=\"images/picture1.png\"")) << written.toStdString();
    EXPECT_EQ(QImage(dir.filePath("images/picture1.png")).size(), QSize(30, 20));
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(path));
    EXPECT_EQ(doc.GetDocumentElement().SelectNodes("/html/body/p/img").size(), 1);

    // Reopened, the picture is a linked file the editor can list for the manifest.
    ctrl.ClearDocument(1);
    ASSERT_TRUE(ctrl.OpenDocument(path, "", kReopenKeepStyles));
    objects = pictures(ctrl);
    ASSERT_EQ(objects.size(), 1);
    CDTdxParameterSet attributes = objects[0].GetProperties().CreateItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr");
    EXPECT_EQ(attributes.GetItemLong("Embedded"), 0);
    EXPECT_EQ(ctrl.GetPicturePath(attributes.GetItemLong("FileName")), dir.filePath("images/picture1.png"));
}

TEST_F(TdxControlTest, EmbeddedPictureNeverOverwritesAnotherFileOfTheSameName)
{
    QDir(dir.path()).mkpath("images");
    QDir(dir.path()).mkpath("art");
    ASSERT_TRUE(writeFile(dir.filePath("images/a.png"), pngBytes(5, 5, Qt::green)));
    ASSERT_TRUE(writeFile(dir.filePath("art/a.png"), pngBytes(8, 8, Qt::red)));
    const QString path = openBody("<p><img src=\"art/a.png\" alt=\"\" /></p>",
                                  "imagelink:false;tdxstyle:false;code:utf8;");
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("src=\"images/a_2.png\"")) << written.toStdString();
    EXPECT_EQ(QImage(dir.filePath("images/a.png")).size(), QSize(5, 5)) << "the other picture is untouched";
    EXPECT_EQ(QImage(dir.filePath("images/a_2.png")).size(), QSize(8, 8));
}

// Picture paths come from the book: an absolute path is not followed, and a file that is
// not a picture is never copied into the book's images folder.
TEST_F(TdxControlTest, PicturePathsFromAChapterAreNotTrusted)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(writeFile(elsewhere.filePath("secret.png"), pngBytes(4, 4)));
    ASSERT_TRUE(writeFile(dir.filePath("notes.png"), "not a picture at all"));
    const QString path = openBody(QStringLiteral("<p><img src=\"%1\" alt=\"\" /><img src=\"notes.png\" alt=\"\" /></p>")
                                      .arg(elsewhere.filePath("secret.png")),
                                  "imagelink:false;tdxstyle:false;code:utf8;");
    const QList<CDTdxShapeObject> objects = pictures(ctrl);
    ASSERT_EQ(objects.size(), 2);
    for (const CDTdxShapeObject& object : objects)
        EXPECT_EQ(object.GetProperties().CreateItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr").GetItemLong("Embedded"), 0);
    const long first = objects[0].GetProperties().CreateItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr").GetItemLong("FileName");
    EXPECT_TRUE(ctrl.GetPicturePath(first).isEmpty());
    saveBack(path);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("images"))) << "nothing copied in";
}

TEST_F(TdxControlTest, WalkTellsLinkedFromEmbeddedPictures)
{
    QDir(dir.path()).mkpath("images");
    ASSERT_TRUE(writeFile(dir.filePath("images/one.png"), pngBytes(10, 10)));
    ASSERT_TRUE(writeFile(dir.filePath("images/two.png"), pngBytes(12, 12)));
    const QString body = "<p><img src=\"images/one.png\" alt=\"\" /> and <img src=\"images/two.png\" alt=\"\" /></p>";

    for (const auto& [options, embedded] : QList<QPair<QString, int>>{
             {"imagelink:true;tdxstyle:false;code:utf8;", 0}, {"imagelink:false;tdxstyle:false;code:utf8;", 1}}) {
        openBody(body, options);
        const QList<CDTdxShapeObject> objects = pictures(ctrl);
        ASSERT_EQ(objects.size(), 2) << options.toStdString();
        QStringList paths;
        for (const CDTdxShapeObject& object : objects) {
            CDTdxParameterSet attributes = object.GetProperties().CreateItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr");
            EXPECT_EQ(attributes.GetItemLong("Embedded"), embedded) << options.toStdString();
            paths << ctrl.GetPicturePath(attributes.GetItemLong("FileName"));
        }
        EXPECT_EQ(paths, QStringList({dir.filePath("images/one.png"), dir.filePath("images/two.png")}));
        EXPECT_FALSE(ctrl.GetLastObject().IsNull());
        EXPECT_EQ(ctrl.GetLastObject().GetId(), "end") << "the closing object is not a picture";
    }
    ctrl.ClearDocument(1);
    EXPECT_TRUE(ctrl.GetFirstObject() == ctrl.GetLastObject()) << "no pictures: the walk is empty";
    EXPECT_TRUE(ctrl.GetPicturePath(0).isEmpty());
    EXPECT_TRUE(ctrl.GetPicturePath(99).isEmpty());
}

TEST_F(TdxControlTest, SizeItemsBeforeAndAfterWriteBack)
{
    QDir(dir.path()).mkpath("images");
    ASSERT_TRUE(writeFile(dir.filePath("images/p.png"), pngBytes(200, 100)));
    const QString path = openBody("<p><img src=\"images/p.png\" alt=\"\" width=\"96\" height=\"48\" /></p>");
    CDTdxShapeObject picture = pictures(ctrl).value(0);
    ASSERT_FALSE(picture.IsNull());
    CDTdxParameterSet size = picture.GetProperties();
    // Read as absolute sizes in 1/7200 inch: 96 px at 96 dpi is one inch.
    EXPECT_EQ(size.GetItemLong("Width"), 7200);
    EXPECT_EQ(size.GetItemLong("Height"), 3600);
    EXPECT_EQ(size.GetItemLong("WidthRelTo"), 4);
    EXPECT_EQ(size.GetItemLong("HeightRelTo"), 2);

    // Made relative to the paper (hundredths of a percent) the way the editor fits pictures.
    CDTdxAction pageSetup = ctrl.CreateAction("PageSetup");
    CDTdxParameterSet page = pageSetup.CreateSet();
    pageSetup.GetDefault(page);
    CDTdxParameterSet pageDef = page.CreateItemSet("PageDef", "PageDef");
    const long paperWidth = pageDef.GetItemLong("PaperWidth");
    const long paperHeight = pageDef.GetItemLong("PaperHeight");
    const long relWidth = qRound(7200.0 * 10000 / paperWidth);
    const long relHeight = qRound(3600.0 * 10000 / paperHeight);
    size.SetItem("Width", qlonglong(relWidth));
    size.SetItem("Height", qlonglong(relHeight));
    size.SetItem("WidthRelTo", 0);
    size.SetItem("HeightRelTo", 0);
    ASSERT_TRUE(picture.SetProperties(size));
    CDTdxParameterSet after = picture.GetProperties();
    EXPECT_EQ(after.GetItemLong("Width"), relWidth);
    EXPECT_EQ(after.GetItemLong("WidthRelTo"), 0);

    // The drawn size did not change, so the written chapter keeps 96 x 48 ...
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("width=\"96\" height=\"48\"")) << written.toStdString();
    // ... and reads back as the same absolute size.
    ASSERT_TRUE(ctrl.OpenDocument(path, "", kReopenKeepStyles));
    CDTdxParameterSet reread = pictures(ctrl).value(0).GetProperties();
    EXPECT_EQ(reread.GetItemLong("Width"), 7200);
    EXPECT_EQ(reread.GetItemLong("Height"), 3600);
}

TEST_F(TdxControlTest, PictureIsDrawnAtTheSizeItsItemsGive)
{
    QDir(dir.path()).mkpath("images");
    ASSERT_TRUE(writeFile(dir.filePath("images/p.png"), pngBytes(20, 20)));
    const QString path = openBody("<p><img src=\"images/p.png\" alt=\"\" /></p>");
    // Default page: A4 with 30 mm side margins, a text width of 42520 units (566.9 px).
    struct Case { int width, widthRelTo, height, heightRelTo; const char* expected; };
    const Case cases[] = {
        {5000, 1, 7200, 2, "width=\"283\" height=\"96\""},   // half the text width, one inch high
        {10000, 0, 1000, 0, "width=\"794\" height=\"112\""}, // the paper's width, a tenth of its height
        {7200, 4, 5000, 1, "width=\"96\" height=\"495\""},   // absolute; half the text height
    };
    for (const Case& c : cases) {
        CDTdxShapeObject picture = pictures(ctrl).value(0);
        CDTdxParameterSet size = picture.GetProperties();
        size.SetItem("Width", c.width);
        size.SetItem("WidthRelTo", c.widthRelTo);
        size.SetItem("Height", c.height);
        size.SetItem("HeightRelTo", c.heightRelTo);
        ASSERT_TRUE(picture.SetProperties(size));
        const QString written = saveBack(dir.filePath("out.xhtml"));
        EXPECT_TRUE(written.contains(c.expected)) << c.expected << "\n" << written.toStdString();
    }
    CDTdxShapeObject picture = pictures(ctrl).value(0);
    CDTdxParameterSet bad = picture.GetProperties();
    bad.SetItem("WidthRelTo", 5);
    EXPECT_FALSE(picture.SetProperties(bad)) << "an unknown relation is refused";
    EXPECT_EQ(picture.GetProperties().GetItemLong("WidthRelTo"), 4);
}

// ---------------------------------------------------------------- bookmarks

TEST_F(TdxControlTest, BookmarksAreInsertedMovedToAndDeleted)
{
    const QString path = openBody("<p>first paragraph</p><p>second paragraph</p><p></p>");
    moveCaret(QTextCursor::NextBlock);
    moveCaret(QTextCursor::Right, 6);
    ASSERT_TRUE(runAction("Bookmark", {{"Name", "b1"}, {"Command", 0}}));
    moveCaret(QTextCursor::End); // the empty paragraph can carry a bookmark too
    ASSERT_TRUE(runAction("Bookmark", {{"Name", "b2"}, {"Command", 0}}));

    QString written = saveBack(path);
    EXPECT_TRUE(written.contains("<p>second<a id=\"b1\"></a> paragraph</p>")) << written.toStdString();
    EXPECT_TRUE(written.contains("<a id=\"b2\"></a>"));

    ASSERT_TRUE(ctrl.OpenDocument(path, "", kReopenKeepStyles));
    EXPECT_EQ(edit().textCursor().position(), 0);
    ASSERT_TRUE(runAction("Bookmark", {{"Name", "b1"}, {"Command", 1}}));
    EXPECT_EQ(edit().textCursor().block().text().left(6), "second");
    EXPECT_EQ(edit().textCursor().positionInBlock(), 6);

    ASSERT_TRUE(runAction("Bookmark", {{"Name", "b1"}, {"Command", 3}}));
    EXPECT_FALSE(runAction("Bookmark", {{"Name", "b1"}, {"Command", 1}})) << "gone";
    EXPECT_FALSE(runAction("Bookmark", {{"Name", "b9"}, {"Command", 3}})) << "never there";
    EXPECT_FALSE(runAction("Bookmark", {{"Name", "not a name"}, {"Command", 0}}));
    EXPECT_FALSE(runAction("Bookmark", {{"Name", "b2"}, {"Command", 7}})) << "unknown command";
    written = saveBack(path);
    EXPECT_FALSE(written.contains("b1"));
    EXPECT_TRUE(written.contains("<p>second paragraph</p>")) << "no trace left";
    EXPECT_TRUE(written.contains("<a id=\"b2\"></a>"));
}

// ---------------------------------------------------------------- page and paragraph

TEST_F(TdxControlTest, PageSetupGovernsTheLayoutWidth)
{
    openBody("<p>text</p>");
    struct Case { int paperWidth, left, right; int expectedWidth; };
    const Case cases[] = {{59528, 8504, 8504, 567}, {26844, 1417, 1417, 320}};
    for (const Case& c : cases) {
        CDTdxAction action = ctrl.CreateAction("PageSetup");
        CDTdxParameterSet set = action.CreateSet();
        action.GetDefault(set);
        set.SetItem("ApplyClass", 24);
        set.SetItem("ApplyTo", 3);
        CDTdxParameterSet pageDef = set.CreateItemSet("PageDef", "PageDef");
        pageDef.SetItem("PaperWidth", c.paperWidth);
        pageDef.SetItem("LeftMargin", c.left);
        pageDef.SetItem("RightMargin", c.right);
        ASSERT_TRUE(action.Execute(set));
        EXPECT_EQ(edit().lineWrapColumnOrWidth(), c.expectedWidth);
        EXPECT_NEAR(edit().document()->textWidth(), c.expectedWidth, 1.0);
        CDTdxParameterSet again = action.CreateSet();
        action.GetDefault(again);
        EXPECT_EQ(again.CreateItemSet("PageDef", "PageDef").GetItemLong("PaperWidth"), c.paperWidth);
    }
    CDTdxAction action = ctrl.CreateAction("PageSetup");
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    set.CreateItemSet("PageDef", "PageDef").SetItem("LeftMargin", 30000);
    EXPECT_FALSE(action.Execute(set)) << "margins wider than the paper";
    EXPECT_EQ(edit().lineWrapColumnOrWidth(), 320);
}

TEST_F(TdxControlTest, IndentationIsTheFirstLineIndentAndNegativeHangs)
{
    const QString path = openBody("<p>indented</p>");
    CDTdxAction action = ctrl.CreateAction("ParagraphShape");
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    EXPECT_EQ(set.GetItemLong("Indentation"), 0);
    for (const auto& [units, style] : QList<QPair<int, QString>>{
             {1200, "text-indent:1em"}, {-1200, "margin-left:1em;text-indent:-1em"}, {0, "<p>indented</p>"}}) {
        set.SetItem("Indentation", units);
        ASSERT_TRUE(action.Execute(set));
        CDTdxParameterSet read = action.CreateSet();
        action.GetDefault(read);
        EXPECT_EQ(read.GetItemLong("Indentation"), units);
        const QString written = saveBack(path);
        EXPECT_TRUE(written.contains(style)) << style.toStdString() << "\n" << written.toStdString();
    }
    set.SetItem("Indentation", "wide");
    EXPECT_FALSE(action.Execute(set));
    // The indent survives the write-back.
    set.SetItem("Indentation", 500);
    action.Execute(set);
    saveBack(path);
    ASSERT_TRUE(ctrl.OpenDocument(path, "", kReopenKeepStyles));
    CDTdxParameterSet reread = action.CreateSet();
    CDTdxAction fresh = ctrl.CreateAction("ParagraphShape");
    fresh.GetDefault(reread);
    EXPECT_NEAR(reread.GetItemLong("Indentation"), 500, 1);
}

// ---------------------------------------------------------------- view and states

TEST_F(TdxControlTest, ZoomScalesTheViewAndReadsBack)
{
    QDir(dir.path()).mkpath("images");
    ASSERT_TRUE(writeFile(dir.filePath("images/p.png"), pngBytes(10, 10)));
    const QString path = openBody("<p>text <img src=\"images/p.png\" alt=\"\" width=\"96\" height=\"48\" /></p>");
    const int width = edit().lineWrapColumnOrWidth();
    CDTdxParameterSet view = ctrl.GetViewProperties();
    EXPECT_EQ(view.GetItemLong("ZoomRatio"), 100);
    view.SetItem("ZoomType", 0);
    view.SetItem("ZoomRatio", 150);
    ctrl.SetViewProperties(view);
    EXPECT_EQ(ctrl.GetViewProperties().GetItemLong("ZoomRatio"), 150);
    EXPECT_NEAR(edit().lineWrapColumnOrWidth(), width * 1.5, 1);
    EXPECT_DOUBLE_EQ(edit().document()->defaultFont().pointSizeF(), 18.0);
    QTextBlock block = edit().document()->begin();
    QTextImageFormat picture;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            picture = it.fragment().charFormat().toImageFormat();
    EXPECT_DOUBLE_EQ(picture.width(), 144.0) << "pictures are zoomed too";
    EXPECT_TRUE(saveBack(path).contains("width=\"96\" height=\"48\"")) << "the page size is written, not the zoomed one";
}

TEST_F(TdxControlTest, ModifiedFollowsEditsAndSaves)
{
    const QString path = openBody("<p>text</p>");
    EXPECT_FALSE(ctrl.IsModified(1));
    moveCaret(QTextCursor::End);
    edit().insertPlainText(" more");
    EXPECT_TRUE(ctrl.IsModified(1));
    saveBack(path);
    EXPECT_FALSE(ctrl.IsModified(1));
    ctrl.ClearDocument(1);
    EXPECT_FALSE(ctrl.IsModified(1));
    EXPECT_TRUE(edit().document()->isEmpty()) << "the old chapter is gone";
}

TEST_F(TdxControlTest, StatusGivesPageLinePositionModeAndStyle)
{
    QString body = "<h1>Title</h1>";
    for (int i = 0; i < 120; ++i)
        body += QStringLiteral("<p>paragraph %1</p>").arg(i);
    openBody(body);
    long sections = 0, section = 0, page = 0, column = 0, line = 0, position = 0;
    short overwrite = 5;
    QString text;
    ASSERT_TRUE(ctrl.GetStatus(sections, section, page, column, line, position, overwrite, text));
    EXPECT_EQ(QList<long>({sections, section, page, column, line, position}), QList<long>({1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(overwrite, 0);
    EXPECT_EQ(text, QStringLiteral("개요 1"));

    moveCaret(QTextCursor::End);
    moveCaret(QTextCursor::Left, 2);
    edit().setOverwriteMode(true);
    ASSERT_TRUE(ctrl.GetStatus(sections, section, page, column, line, position, overwrite, text));
    EXPECT_GT(page, 1);
    EXPECT_EQ(line, 121);
    EXPECT_EQ(position, 12); // "paragraph 119", caret before "19"
    EXPECT_EQ(overwrite, 1);
    EXPECT_EQ(text, QStringLiteral("바탕글"));
}

TEST_F(TdxControlTest, ScrollStateIsReadAndRestored)
{
    QString body;
    for (int i = 0; i < 300; ++i)
        body += QStringLiteral("<p>line %1</p>").arg(i);
    openBody(body);
    QApplication::processEvents();
    CDTdxParameterSet state = ctrl.GetScrollState();
    const long limit = state.GetItemLong("VertLimitPos");
    ASSERT_GT(limit, 0);
    state.SetItem("VertPos", qlonglong(limit / 2));
    ctrl.SetScrollState(state);
    EXPECT_EQ(ctrl.GetScrollState().GetItemLong("VertPos"), limit / 2);
    // A position saved against a range twice as long lands at the same proportion.
    state.SetItem("VertPos", qlonglong(limit / 2));
    state.SetItem("VertLimitPos", qlonglong(limit * 2));
    ctrl.SetScrollState(state);
    EXPECT_NEAR(ctrl.GetScrollState().GetItemLong("VertPos"), limit / 4, 1);
}

TEST_F(TdxControlTest, RegisterModuleIsRecorded)
{
    EXPECT_TRUE(ctrl.RegisterModule("FilePathCheckDLL", "TdxFileCheck"));
    EXPECT_FALSE(ctrl.RegisterModule("", ""));
}

// ---------------------------------------------------------------- opening

TEST_F(TdxControlTest, OpeningBadInputFailsAndKeepsTheDocument)
{
    openBody("<p>kept</p>");
    ASSERT_TRUE(writeFile(dir.filePath("not-compound.tdx"), "plain text"));
    EXPECT_FALSE(ctrl.OpenDocument(dir.filePath("missing.xhtml"), "HTML", kOpenKeepStyles));
    EXPECT_FALSE(ctrl.OpenDocument(dir.path(), "HTML", kOpenKeepStyles)) << "a folder";
    EXPECT_FALSE(ctrl.OpenDocument(dir.filePath("not-compound.tdx"), "TDX", "template:false;forceopen:true;"));
    EXPECT_FALSE(ctrl.OpenDocument(dir.filePath("c.xhtml"), "RTF", ""));
    EXPECT_EQ(edit().toPlainText(), "kept");
    EXPECT_FALSE(ctrl.SaveDocumentAs(dir.filePath("no/such/folder/c.xhtml"), "XHTML", kSaveOptions));
    EXPECT_FALSE(ctrl.SaveDocumentAs(dir.filePath("c.doc"), "DOC", ""));
}

TEST_F(TdxControlTest, ControlStylesGiveParagraphsTheStyleListFormats)
{
    const QString path = openBody("<h2>Head</h2><p>body</p><p style=\"text-align:right\">own</p>", kOpenControlStyles);
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("<p style=\"text-align:justify;line-height:160%\">body</p>")) << written.toStdString();
    EXPECT_TRUE(written.contains("<p style=\"text-align:right;line-height:160%\">own</p>")) << "its own alignment stays" << written.toStdString();
}

} // namespace
