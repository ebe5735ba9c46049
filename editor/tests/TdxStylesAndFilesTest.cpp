// Styles (apply, export, import), the run-by-name actions, the control's own document
// and template format, and a book of control-written chapters checked by epubcheck.
#include "TdxControlFixture.h"

#include "components/tdx/FileChooser.h"
#include "package/XmlDocument.h"
#include "platform/core/CompoundFile.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace tdxtest;

namespace {

// The style names the editor passes, element by element.
const QStringList kNameEngs{"Normal", "Body", "Outline 1", "Outline 2", "Outline 3", "Outline 4", "Outline 5",
                            "Outline 6", "Outline 7", "Distribute", "LeftAlign", "RightAlign", "CenterAlign",
                            "Indent", "Outdent", "Numbering", "Heading", "Page Number", "Header", "Footnote"};
const QStringList kNameLocals{"바탕글", "본문", "개요 1", "개요 2", "개요 3", "개요 4", "개요 5", "개요 6", "개요 7",
                              "양쪽정렬", "왼쪽정렬", "오른쪽정렬", "중앙정렬", "들여쓰기", "내어쓰기", "번호매김",
                              "글머리", "쪽번호", "머리말", "각주"};

class TdxStylesAndFilesTest : public ControlFixture {
protected:
    void TearDown() override { tdx::setFileChooser(nullptr); }

    // The editor's style-template set with `count` names and a file.
    CDTdxParameterSet styleTemplate(int count, const QString& file)
    {
        CDTdxAction action = ctrl.CreateAction("StyleTemplate");
        CDTdxParameterSet set = action.CreateSet();
        CDTdxParameterArray engs = set.CreateItemArray("NameEngs", count);
        CDTdxParameterArray locals = set.CreateItemArray("NameLocals", count);
        action.GetDefault(set);
        for (int i = 0; i < count; ++i) {
            engs.SetItem(i, kNameEngs[i]);
            locals.SetItem(i, kNameLocals[i]);
        }
        set.SetItem("FileName", file);
        return set;
    }
    bool applyStyle(int index)
    {
        CDTdxAction action = ctrl.CreateAction("Style");
        CDTdxParameterSet set = action.CreateSet();
        action.GetDefault(set);
        set.SetItem("Apply", index);
        return action.Execute(set);
    }
    QString statusText()
    {
        long v = 0;
        short o = 0;
        QString text;
        ctrl.GetStatus(v, v, v, v, v, v, o, text);
        return text;
    }
};

TEST_F(TdxStylesAndFilesTest, ApplyingAStyleFormatsTheParagraph)
{
    const QString path = openBody("<p>title</p><p>body</p>");
    EXPECT_EQ(statusText(), QStringLiteral("바탕글"));
    ASSERT_TRUE(applyStyle(2)); // Outline 1
    EXPECT_EQ(statusText(), QStringLiteral("개요 1"));
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("<h1 style=\"text-align:left;line-height:160%\"><span style=\"font-size:1.667em\">title</span></h1>"))
        << written.toStdString();
    EXPECT_FALSE(applyStyle(20));
    EXPECT_FALSE(applyStyle(-1));
    // Positions 9 to 11 of the list are page number, header and footnote.
    ASSERT_TRUE(applyStyle(10));
    EXPECT_EQ(statusText(), QStringLiteral("머리말"));
}

TEST_F(TdxStylesAndFilesTest, ExportWritesTheNamedStyles)
{
    openBody("<p>x</p>");
    const QString file = dir.filePath("book.sty");
    ASSERT_TRUE(ctrl.ExportStyles(styleTemplate(17, file)));
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(file));
    const CXmlNodeList styles = doc.GetDocumentElement().SelectNodes("/tdxstyles/style");
    ASSERT_EQ(styles.size(), 17);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(styles[i].GetAttribute("nameEng"), kNameEngs[i]);
        EXPECT_EQ(styles[i].GetAttribute("nameLocal"), kNameLocals[i]);
    }
    EXPECT_FALSE(ctrl.ExportStyles(styleTemplate(17, dir.filePath("no/folder/x.sty"))));
}

TEST_F(TdxStylesAndFilesTest, ImportReplacesStylesAndAMissingFileChangesNothing)
{
    const QString path = openBody("<p>body</p>");
    const QString file = dir.filePath("mine.sty");
    ASSERT_TRUE(writeFile(file, QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tdxstyles version=\"1\">\n"
        "<style nameEng=\"Normal\" nameLocal=\"바탕글\" size=\"18\" italic=\"1\" align=\"center\" lineSpacing=\"200\"/>\n"
        "<style nameEng=\"Unknown\" nameLocal=\"모름\" size=\"30\"/>\n</tdxstyles>\n").toUtf8()));

    EXPECT_FALSE(ctrl.ImportStyles(styleTemplate(20, dir.filePath("missing.sty"))));
    ASSERT_TRUE(writeFile(dir.filePath("broken.sty"), "<tdxstyles><style"));
    EXPECT_FALSE(ctrl.ImportStyles(styleTemplate(20, dir.filePath("broken.sty"))));
    ASSERT_TRUE(applyStyle(0));
    EXPECT_TRUE(saveBack(path).contains("text-align:justify;line-height:160%")) << "the built-in Normal";

    ASSERT_TRUE(ctrl.ImportStyles(styleTemplate(20, file)));
    ASSERT_TRUE(applyStyle(0));
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("<p style=\"text-align:center;line-height:200%\"><span style=\"font-style:italic;font-size:1.5em\">body</span></p>"))
        << written.toStdString();
}

TEST_F(TdxStylesAndFilesTest, TheBasicTemplateCarriesAllTwentyStyles)
{
    openBody("<p>x</p>");
    const QString basic = QStringLiteral(KVX_SOURCE_DIR "/template/basic_template.sty");
    ASSERT_TRUE(ctrl.ImportStyles(styleTemplate(20, basic)));
    const QString exported = dir.filePath("all.sty");
    ASSERT_TRUE(ctrl.ExportStyles(styleTemplate(20, exported)));
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(exported));
    EXPECT_EQ(doc.GetDocumentElement().SelectNodes("/tdxstyles/style").size(), 20);
}

// Every run-by-name action of this control, and what it does to "word".
TEST_F(TdxStylesAndFilesTest, RunByNameActions)
{
    struct Case { const char* action; const char* written; };
    const Case cases[] = {
        {"CharShapeBold", "font-weight:bold"},
        {"CharShapeItalic", "font-style:italic"},
        {"CharShapeUnderline", "text-decoration:underline"},
        {"CharShapeCenterline", "text-decoration:line-through"},
        {"CharShapeSuperscript", "<sup>word</sup>"},
        {"CharShapeSubscript", "<sub>word</sub>"},
        {"CharShapeHeightIncrease", "font-size:1.083em"},
        {"CharShapeHeightDecrease", "font-size:0.917em"},
        {"ParagraphShapeAlignCenter", "text-align:center"},
        {"ParagraphShapeAlignRight", "text-align:right"},
        {"ParagraphShapeAlignLeft", "text-align:left"},
        {"ParagraphShapeAlignJustify", "text-align:justify"},
        {"ParagraphShapeIncreaseLeftMargin", "margin-left:1.667em"},
        {"PutParaNumber", "<ol>"},
        {"PutBullet", "<ul>"},
    };
    for (const Case& c : cases) {
        const QString path = openBody("<p>word</p>");
        EXPECT_TRUE(ctrl.RunAction(c.action)) << c.action;
        EXPECT_TRUE(saveBack(path).contains(QString::fromUtf8(c.written))) << c.action;
    }
    const QString path = openBody("<p>word</p>");
    ctrl.RunAction("ParagraphShapeIncreaseLeftMargin");
    ctrl.RunAction("ParagraphShapeDecreaseLeftMargin");
    ctrl.RunAction("ParagraphShapeDecreaseLeftMargin");
    EXPECT_FALSE(saveBack(path).contains("margin-left")) << "never below zero";
    EXPECT_FALSE(ctrl.RunAction("NoSuchAction"));
    EXPECT_FALSE(ctrl.RunAction(""));
}

TEST_F(TdxStylesAndFilesTest, UndoRedoAndClipboard)
{
    openBody("<p>word</p>");
    ctrl.RunAction("CharShapeBold");
    ASSERT_TRUE(ctrl.RunAction("Undo"));
    EXPECT_LT(edit().document()->begin().begin().fragment().charFormat().fontWeight(), QFont::DemiBold);
    ASSERT_TRUE(ctrl.RunAction("Redo"));
    EXPECT_GE(edit().document()->begin().begin().fragment().charFormat().fontWeight(), QFont::DemiBold);

    QTextCursor cursor = edit().textCursor();
    cursor.select(QTextCursor::Document);
    edit().setTextCursor(cursor);
    ASSERT_TRUE(ctrl.RunAction("Copy"));
    EXPECT_EQ(QApplication::clipboard()->text(), "word");
    ASSERT_TRUE(ctrl.RunAction("Cut"));
    EXPECT_TRUE(edit().toPlainText().isEmpty());
    ASSERT_TRUE(ctrl.RunAction("Paste"));
    ASSERT_TRUE(ctrl.RunAction("Paste"));
    EXPECT_EQ(edit().toPlainText(), "wordword");
}

TEST_F(TdxStylesAndFilesTest, InsertFilePutsAFileAtTheCaret)
{
    ASSERT_TRUE(writeFile(dir.filePath("part.html"), chapter("<p><b>inserted</b></p>")));
    ASSERT_TRUE(writeFile(dir.filePath("note.txt"), "plain <text>"));
    const QString path = openBody("<p>start</p>");
    QString answer;
    tdx::setFileChooser([&](QWidget*, const QString&, const QString&) { return answer; });

    EXPECT_FALSE(ctrl.RunAction("InsertFile")) << "cancelled";
    answer = dir.filePath("part.html");
    QTextCursor cursor = edit().textCursor();
    cursor.movePosition(QTextCursor::End);
    edit().setTextCursor(cursor);
    ASSERT_TRUE(ctrl.RunAction("InsertFile"));
    answer = dir.filePath("note.txt");
    ASSERT_TRUE(ctrl.RunAction("InsertFile"));
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("<span style=\"font-weight:bold\">inserted</span>")) << written.toStdString();
    EXPECT_TRUE(written.contains("plain &lt;text&gt;"));
}

// ---------------------------------------------------------------- document file and templates

TEST_F(TdxStylesAndFilesTest, DocumentFileKeepsTextStylesPageAndPictures)
{
    const QString path = openBody("<h1>Title</h1><p>body text</p>");
    QTextCursor cursor = edit().textCursor();
    cursor.movePosition(QTextCursor::End);
    edit().setTextCursor(cursor);
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QApplication::clipboard()->setImage(image);
    ASSERT_TRUE(ctrl.RunAction("Paste"));
    const QString file = dir.filePath("novel.tdt");
    ASSERT_TRUE(ctrl.SaveDocumentAs(file, "TDX", ""));

    QMap<QString, QByteArray> streams;
    ASSERT_TRUE(platform::CompoundFile::read(file, streams));
    EXPECT_TRUE(streams.contains("Contents"));
    EXPECT_TRUE(streams.contains("Styles"));
    QImage preview;
    ASSERT_TRUE(preview.loadFromData(streams.value("PrvImage"), "GIF")) << "a GIF preview of the first page";
    EXPECT_GT(preview.width(), 50);
    EXPECT_GT(preview.height(), preview.width());

    ctrl.ClearDocument(1);
    ASSERT_TRUE(ctrl.OpenDocument(file, "TDX", "template:false;forceopen:true;"));
    EXPECT_EQ(edit().document()->begin().text(), "Title");
    const QList<CDTdxShapeObject> objects = pictures(ctrl);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects[0].GetProperties().CreateItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr").GetItemLong("Embedded"), 1);
    // Opened by content alone, and written out as a chapter with its picture.
    ctrl.ClearDocument(1);
    ASSERT_TRUE(ctrl.OpenDocument(file, "", ""));
    const QString written = saveBack(dir.filePath("from-template.xhtml"));
    EXPECT_TRUE(written.contains("<h1>Title</h1>")) << written.toStdString();
    EXPECT_TRUE(written.contains("src=\"images/picture1.png\""));
    EXPECT_EQ(QImage(dir.filePath("images/picture1.png")).size(), QSize(16, 8));
}

TEST_F(TdxStylesAndFilesTest, ForeignCompoundFileNeedsForceOpen)
{
    QMap<QString, QByteArray> streams{{"Contents", chapter("<p>foreign</p>")}};
    ASSERT_TRUE(platform::CompoundFile::write(dir.filePath("foreign.tdx"), streams));
    EXPECT_FALSE(ctrl.OpenDocument(dir.filePath("foreign.tdx"), "TDX", "template:false;"));
    EXPECT_TRUE(ctrl.OpenDocument(dir.filePath("foreign.tdx"), "TDX", "template:false;forceopen:true;"));
    EXPECT_EQ(edit().toPlainText(), "foreign");
}

// ---------------------------------------------------------------- a whole book

bool run(const QString& program, const QStringList& arguments, const QString& folder, QString* output = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ok = process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return ok;
}

TEST_F(TdxStylesAndFilesTest, EpubcheckAcceptsABookOfControlWrittenChapters)
{
    if (QStandardPaths::findExecutable("java").isEmpty() || !QFileInfo::exists("/usr/bin/epubcheck")
        || QStandardPaths::findExecutable("zip").isEmpty())
        GTEST_SKIP() << "java, epubcheck or zip missing";
    const QString book = dir.filePath("book");
    QDir(book).mkpath("META-INF");
    QDir(book).mkpath("OEBPS/images");
    ASSERT_TRUE(writeFile(book + "/mimetype", "application/epub+zip"));
    ASSERT_TRUE(writeFile(book + "/META-INF/container.xml",
        "<?xml version=\"1.0\"?>\n<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
        "<rootfiles><rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>"));
    ASSERT_TRUE(writeFile(book + "/OEBPS/images/linked.png", pngBytes(40, 30)));

    const QStringList bodies{
        "<h1 id=\"c1\">One</h1><p style=\"text-indent:1em\">Text with <b>bold</b>, <i>italic</i>, x<sup>2</sup> and "
        "<a href=\"ch2.xhtml#b1\">a link</a>.</p><p><img src=\"images/linked.png\" alt=\"linked\" /></p>",
        "<h2>Two</h2><ul><li>one<ul><li>nested</li></ul></li></ul><table border=\"1\"><tr><td>a</td><td>b</td></tr></table>",
        "<h2>Three</h2><p></p><p style=\"text-align:center\">centred</p>",
    };
    for (int i = 0; i < bodies.size(); ++i) {
        const QString path = book + QStringLiteral("/OEBPS/ch%1.xhtml").arg(i + 1);
        ASSERT_TRUE(writeFile(path, chapter(bodies[i])));
        ASSERT_TRUE(ctrl.OpenDocument(path, "HTML", kOpenKeepStyles));
        if (i == 1) { // a bookmark the first chapter links to
            QTextCursor cursor = edit().textCursor();
            cursor.movePosition(QTextCursor::End);
            edit().setTextCursor(cursor);
            CDTdxAction action = ctrl.CreateAction("Bookmark");
            CDTdxParameterSet set = action.CreateSet();
            action.GetDefault(set);
            set.SetItem("Name", "b1");
            set.SetItem("Command", 0);
            ASSERT_TRUE(action.Execute(set));
        }
        if (i == 2) { // a pasted picture
            QImage image(10, 10, QImage::Format_RGB32);
            image.fill(Qt::yellow);
            QApplication::clipboard()->setImage(image);
            ASSERT_TRUE(ctrl.RunAction("Paste"));
        }
        ASSERT_TRUE(ctrl.SaveDocumentAs(path, "XHTML", kSaveOptions));
    }
    ASSERT_TRUE(QFileInfo::exists(book + "/OEBPS/images/picture1.png"));
    ASSERT_TRUE(writeFile(book + "/OEBPS/content.opf",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\" unique-identifier=\"id\">"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Book</dc:title><dc:language>ko</dc:language>"
        "<dc:identifier id=\"id\">urn:uuid:0b0f7f3e-4d5a-4e39-9a61-6f4a5c0d9e11</dc:identifier></metadata>"
        "<manifest><item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>"
        "<item id=\"ch1\" href=\"ch1.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"ch2\" href=\"ch2.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"ch3\" href=\"ch3.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"linked\" href=\"images/linked.png\" media-type=\"image/png\"/>"
        "<item id=\"picture1\" href=\"images/picture1.png\" media-type=\"image/png\"/></manifest>"
        "<spine toc=\"ncx\"><itemref idref=\"ch1\"/><itemref idref=\"ch2\"/><itemref idref=\"ch3\"/></spine></package>"));
    ASSERT_TRUE(writeFile(book + "/OEBPS/toc.ncx",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\"><head>"
        "<meta name=\"dtb:uid\" content=\"urn:uuid:0b0f7f3e-4d5a-4e39-9a61-6f4a5c0d9e11\"/><meta name=\"dtb:depth\" content=\"1\"/>"
        "<meta name=\"dtb:totalPageCount\" content=\"0\"/><meta name=\"dtb:maxPageNumber\" content=\"0\"/></head>"
        "<docTitle><text>Book</text></docTitle><navMap>"
        "<navPoint id=\"n1\" playOrder=\"1\"><navLabel><text>One</text></navLabel><content src=\"ch1.xhtml#c1\"/></navPoint>"
        "<navPoint id=\"n2\" playOrder=\"2\"><navLabel><text>Two</text></navLabel><content src=\"ch2.xhtml#b1\"/></navPoint>"
        "<navPoint id=\"n3\" playOrder=\"3\"><navLabel><text>Three</text></navLabel><content src=\"ch3.xhtml\"/></navPoint>"
        "</navMap></ncx>"));

    const QString epub = dir.filePath("book.epub");
    ASSERT_TRUE(run("zip", {"-X0", epub, "mimetype"}, book));
    ASSERT_TRUE(run("zip", {"-Xr9D", epub, "META-INF", "OEBPS"}, book));
    QString report;
    EXPECT_TRUE(run("java", {"-jar", "/usr/bin/epubcheck", epub}, dir.path(), &report)) << report.toStdString();
}

} // namespace
