// The control's interactive actions (find, pictures, tables, equations, styles, spelling,
// dictionary, printing), driven through CDTdxCtrl0 with every dialog answered by script.
#include "TdxControlFixture.h"

#include "components/tdx/ChapterPrinter.h"
#include "components/tdx/EditorControl.h"
#include "components/tdx/SpellDictionaries.h"
#include "components/tdx/TextFinder.h"
#include "components/tdx/TextProperties.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace tdxtest;
using platform::DialogAnswer;

namespace {

class TdxDialogActionsTest : public ControlFixture {
protected:
    platform::ScriptedDialogs dialogs;
    platform::ScriptedMessageBoxes boxes;
    platform::ScopedDialogBackend dialogScope{&dialogs};
    platform::ScopedMessageBoxBackend boxScope{&boxes};

    tdx::EditorControl& control() { return *dynamic_cast<tdx::EditorControl*>(ctrl.GetControl()); }
    void caretTo(int position)
    {
        QTextCursor cursor = edit().textCursor();
        cursor.setPosition(position);
        edit().setTextCursor(cursor);
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const platform::MessageRequest& request : boxes.asked())
            texts << request.text;
        return texts;
    }
    const platform::DialogRequest* asked(const QString& name) const
    {
        for (const platform::DialogRequest& request : dialogs.asked())
            if (request.name == name)
                return &request;
        return nullptr;
    }
};

// ---------------------------------------------------------------- find and replace

struct FindCase {
    const char* name;
    const char* text;
    const char* find;
    bool matchCase;
    bool wholeWord;
    bool backward;
    int caret;
    int expected; // start of the selection found, -1 for none
};

TEST_F(TdxDialogActionsTest, FindNextFollowsItsOptions)
{
    const FindCase cases[] = {
        {"any case", "Apple pie, apple", "apple", false, false, false, 0, 0},
        {"match case", "Apple pie, apple", "apple", true, false, false, 0, 11},
        {"part of a word", "apples app", "app", false, false, false, 0, 0},
        {"whole word", "apples app", "app", false, true, false, 0, 7},
        {"backward from the end", "one two one", "one", false, false, true, 11, 8},
        {"backward goes round the start", "one two one", "one", false, false, true, 0, 8},
        {"forward goes round the end", "one two one", "one", false, false, false, 10, 0},
        {"Korean", "한국어 사전과 한국", "한국", false, false, false, 1, 8},
        {"Korean whole word", "한국어 사전과 한국 땅", "한국", false, true, false, 0, 8},
        {"not there", "one two", "three", false, false, false, 0, -1},
        {"case kept out", "ONE", "one", true, false, false, 0, -1},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        openBody(QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(c.text)));
        caretTo(c.caret);
        tdx::FindOptions options;
        options.matchCase = c.matchCase;
        options.wholeWord = c.wholeWord;
        options.backward = c.backward;
        const bool found = tdx::findNext(edit(), QString::fromUtf8(c.find), options);
        EXPECT_EQ(found, c.expected >= 0);
        if (found) {
            EXPECT_EQ(edit().textCursor().selectionStart(), c.expected);
            EXPECT_EQ(edit().textCursor().selectedText().compare(QString::fromUtf8(c.find), Qt::CaseInsensitive), 0);
        }
    }
}

TEST_F(TdxDialogActionsTest, ReplaceAllCountsAndOneUndoTakesItBack)
{
    const QString path = openBody("<p>cat and Cat</p><p>a <b>cat</b> sat; concatenate</p>");
    const QString before = edit().toPlainText();
    dialogs.enqueue(DialogAnswer::Press("모두 바꾸기", {{"findText", "cat"}, {"replaceText", "dog"}, {"wholeWord", true}}));

    ASSERT_TRUE(ctrl.RunAction("FindDlg"));
    EXPECT_EQ(messages(), QStringList{"3개를 바꾸었습니다."});
    EXPECT_EQ(edit().toPlainText(), "dog and dog\na dog sat; concatenate");
    EXPECT_TRUE(saveBack(path).contains("<b>dog</b>")) << "a replacement keeps the text's format";

    ASSERT_TRUE(ctrl.RunAction("Undo"));
    EXPECT_EQ(edit().toPlainText(), before);
}

TEST_F(TdxDialogActionsTest, ReplaceChangesTheFoundOccurrenceThenFindsTheNext)
{
    openBody("<p>one two one two</p>");
    dialogs.enqueue(DialogAnswer::Press("다음 찾기", {{"findText", "two"}, {"replaceText", "2"}}));
    dialogs.enqueue(DialogAnswer::Press("바꾸기"));
    ASSERT_TRUE(ctrl.RunAction("FindDlg"));
    EXPECT_EQ(edit().toPlainText(), "one 2 one two");
    EXPECT_EQ(edit().textCursor().selectionStart(), 10) << "the next one is selected";
    ASSERT_NE(asked("FindDialog"), nullptr);
    EXPECT_EQ(asked("FindDialog")->title, "찾기/바꾸기");
}

// ---------------------------------------------------------------- pictures

TEST_F(TdxDialogActionsTest, PictureInsertRefusesAFileThatIsNoPicture)
{
    openBody("<p>text</p>");
    ASSERT_TRUE(writeFile(dir.filePath("note.txt"), "no picture"));
    dialogs.enqueue(DialogAnswer::Press("확인", {{"fileName", dir.filePath("missing.png")}}));
    dialogs.enqueue(DialogAnswer::Press("확인", {{"fileName", dir.filePath("note.txt")}}));

    EXPECT_FALSE(ctrl.RunAction("PictureInsertDialog")) << "cancelled in the end";
    EXPECT_EQ(dialogs.refusedPresses(), 2);
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[0].startsWith("그림 파일을 열 수 없습니다.")) << messages()[0].toStdString();
    EXPECT_TRUE(pictures(ctrl).isEmpty());
}

TEST_F(TdxDialogActionsTest, LinkedPictureInTheChapterFolderStaysLinkedWithItsSize)
{
    const QString path = openBody("<p>text</p>");
    ASSERT_TRUE(QDir(dir.path()).mkpath("art"));
    ASSERT_TRUE(writeFile(dir.filePath("art/pic.png"), pngBytes(40, 20)));
    dialogs.enqueue(DialogAnswer::Press("확인", {{"fileName", dir.filePath("art/pic.png")}, {"embedded", false},
                                                 {"width", 80}}));
    ASSERT_TRUE(ctrl.RunAction("PictureInsertDialog"));

    ASSERT_EQ(pictures(ctrl).size(), 1);
    EXPECT_EQ(pictures(ctrl)[0].GetId(), "gso");
    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("src=\"art/pic.png\"")) << written.toStdString();
    EXPECT_TRUE(written.contains("width=\"80\" height=\"40\"")) << "the proportion is kept";
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("images"))) << "a linked picture is not copied";
}

// ---------------------------------------------------------------- tables and equations

TEST_F(TdxDialogActionsTest, TableOfThreeRowsAndTwoColumnsSurvivesSaveAndReopen)
{
    const QString path = openBody("<p>above</p>");
    caretTo(int(edit().toPlainText().size()));
    dialogs.enqueue(DialogAnswer::Press("확인", {{"rows", 3}, {"columns", 2}}));
    ASSERT_TRUE(ctrl.RunAction("TableCreate"));
    QTextTable* table = edit().textCursor().currentTable();
    ASSERT_NE(table, nullptr);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            table->cellAt(r, c).firstCursorPosition().insertText(QStringLiteral("r%1c%2").arg(r).arg(c));

    const QString written = saveBack(path);
    EXPECT_EQ(written.count("<table"), 1) << written.toStdString();
    EXPECT_EQ(written.count("<tr>"), 3);
    EXPECT_EQ(written.count("<td>"), 6);
    EXPECT_TRUE(written.contains("<td>r2c1</td>"));

    ASSERT_TRUE(ctrl.OpenDocument(path, "HTML", kReopenKeepStyles));
    QTextTable* reopened = nullptr;
    for (QTextFrame* frame : edit().document()->rootFrame()->childFrames())
        reopened = reopened ? reopened : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->rows(), 3);
    EXPECT_EQ(reopened->columns(), 2);
    QTextCursor cell = reopened->cellAt(2, 1).firstCursorPosition();
    cell.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    EXPECT_EQ(cell.selectedText(), "r2c1");
}

TEST_F(TdxDialogActionsTest, EquationKeepsItsSourceThroughSaveAndReopen)
{
    const QString source = "x^2 + y_{i+1} = frac{a}{b} + sqrt{alpha}";
    const QString path = openBody("<p>Energy</p>");
    caretTo(6);
    dialogs.enqueue(DialogAnswer::Press("확인", {{"source", source}}));
    ASSERT_TRUE(ctrl.RunAction("EquationCreate"));
    ASSERT_EQ(pictures(ctrl).size(), 1);

    const QString written = saveBack(path);
    EXPECT_TRUE(written.contains("alt=\"" + source + "\" class=\"tdx-equation\"")) << written.toStdString();
    const QImage drawn(dir.filePath("images/equation1.png"));
    EXPECT_FALSE(drawn.isNull());
    EXPECT_GT(drawn.width(), drawn.height());

    ASSERT_TRUE(ctrl.OpenDocument(path, "HTML", kReopenKeepStyles));
    caretTo(7);
    dialogs.enqueue(DialogAnswer::Press("확인", {{"source", "E = m c^2"}}));
    ASSERT_TRUE(ctrl.RunAction("EquationCreate"));
    ASSERT_NE(asked("EquationDialog"), nullptr);
    EXPECT_EQ(dialogs.asked().last().fields.value("source").toString(), source) << "the equation opens for editing";
    ASSERT_EQ(pictures(ctrl).size(), 1) << "the edited equation replaces the old one";
    EXPECT_TRUE(saveBack(path).contains("alt=\"E = m c^2\""));
}

TEST_F(TdxDialogActionsTest, EquationDialogRefusesAnEmptySource)
{
    openBody("<p>x</p>");
    dialogs.enqueue(DialogAnswer::Press("확인", {{"source", "  "}}));
    EXPECT_FALSE(ctrl.RunAction("EquationCreate"));
    EXPECT_EQ(messages(), QStringList{"수식을 입력하십시오."});
    EXPECT_TRUE(pictures(ctrl).isEmpty());
}

// ---------------------------------------------------------------- styles

TEST_F(TdxDialogActionsTest, StyleDialogAppliesAsTheStyleActionDoes)
{
    openBody("<p>first</p><p>second</p>");
    dialogs.enqueue(DialogAnswer::Press("확인", {{"styles", 3}}));
    ASSERT_TRUE(ctrl.RunAction("Style"));
    EXPECT_EQ(dialogs.asked().last().fields.value("styles").toInt(), 0) << "the paragraph's own style is chosen";
    QTextBlockFormat fromDialog = edit().textCursor().blockFormat();
    EXPECT_EQ(control().currentStyleIndex(), 3);

    caretTo(int(edit().document()->lastBlock().position()));
    CDTdxAction action = ctrl.CreateAction("Style");
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    set.SetItem("Apply", 3);
    ASSERT_TRUE(action.Execute(set));
    QTextBlockFormat fromAction = edit().textCursor().blockFormat();
    // Each paragraph keeps its own element; the style's formats are the same.
    fromDialog.clearProperty(tdx::kBlockMarkup);
    fromAction.clearProperty(tdx::kBlockMarkup);
    EXPECT_EQ(fromAction, fromDialog);
}

// ---------------------------------------------------------------- spelling and dictionary

TEST_F(TdxDialogActionsTest, SpellingFindsTehAndChangesItToThe)
{
    openBody("<p>I saw teh cat and teh dog.</p>");
    dialogs.enqueue(DialogAnswer::Press("바꾸기"));
    dialogs.enqueue(DialogAnswer::Press("바꾸기"));
    ASSERT_TRUE(ctrl.RunAction("SpellingCheck"));

    const platform::DialogRequest* request = asked("SpellingDialog");
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->properties.value("word").toString(), "teh");
    EXPECT_EQ(request->fields.value("replacement").toString(), "the");
    EXPECT_TRUE(request->properties.value("suggestions").toStringList().contains("the"));
    EXPECT_EQ(edit().toPlainText(), "I saw the cat and the dog.");
    EXPECT_EQ(messages(), QStringList{"맞춤법 검사를 마쳤습니다."});
}

TEST_F(TdxDialogActionsTest, SpellingFindsAMisspeltKoreanWordWithASuggestion)
{
    openBody("<p>새 컴퓨타 샀다</p>");
    dialogs.enqueue(DialogAnswer::Press("바꾸기"));
    ASSERT_TRUE(ctrl.RunAction("SpellingCheck"));
    const platform::DialogRequest* request = asked("SpellingDialog");
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->properties.value("word").toString(), "컴퓨타");
    EXPECT_TRUE(request->properties.value("suggestions").toStringList().contains("컴퓨터"));
    EXPECT_EQ(edit().toPlainText(), "새 컴퓨터 샀다");
}

TEST_F(TdxDialogActionsTest, SpellingChangeAllIgnoreAndTheUserDictionary)
{
    QFile::remove(tdx::SpellDictionaries::userDictionaryPath());
    openBody("<p>teh zqxwv teh blorptang</p><p>teh zqxwv blorptang</p>");
    dialogs.enqueue(DialogAnswer::Press("모두 바꾸기", {{"replacement", "the"}}));
    dialogs.enqueue(DialogAnswer::Press("건너뛰기"));
    dialogs.enqueue(DialogAnswer::Press("사전에 추가"));
    ASSERT_TRUE(ctrl.RunAction("SpellingCheck"));
    EXPECT_EQ(edit().toPlainText(), "the zqxwv the blorptang\nthe zqxwv blorptang");
    EXPECT_EQ(dialogs.refusedPresses(), 2) << "the dialog closes itself after the last word";

    QFile user(tdx::SpellDictionaries::userDictionaryPath());
    ASSERT_TRUE(user.open(QIODevice::ReadOnly)) << "kept in the user's data folder";
    EXPECT_EQ(user.readAll(), "blorptang\n");
    EXPECT_TRUE(tdx::SpellDictionaries::shared().isCorrect("blorptang"));

    dialogs.clear();
    boxes.clear();
    dialogs.enqueue(DialogAnswer::Press("건너뛰기"));
    ASSERT_TRUE(ctrl.RunAction("SpellingCheck"));
    EXPECT_EQ(dialogs.asked().last().properties.value("word").toString(), "zqxwv")
        << "the added word is not asked again";
    QFile::remove(tdx::SpellDictionaries::userDictionaryPath());
}

TEST_F(TdxDialogActionsTest, DictionaryLooksUpTheWordAtTheCaret)
{
    openBody("<p>She walked home</p>");
    caretTo(6);
    ASSERT_TRUE(ctrl.RunAction("TdxDic"));
    const platform::DialogRequest* request = asked("DictionaryDialog");
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->properties.value("word").toString(), "walked");
    EXPECT_TRUE(request->properties.value("correct").toBool());
    EXPECT_TRUE(request->properties.value("stems").toStringList().contains("walk"));

    openBody("<p>  </p>");
    EXPECT_FALSE(ctrl.RunAction("TdxDic"));
    EXPECT_TRUE(messages().value(0).startsWith("사전에서 찾을 낱말이 없습니다.")) << messages().join('|').toStdString();
}

TEST_F(TdxDialogActionsTest, MissingDictionariesAreSaidNotSilent)
{
    QTemporaryDir empty;
    qputenv("DICPATH", empty.path().toLocal8Bit());
    openBody("<p>teh</p>");
    EXPECT_FALSE(ctrl.RunAction("SpellingCheck"));
    EXPECT_FALSE(ctrl.RunAction("TdxDic"));
    qunsetenv("DICPATH");
    ASSERT_EQ(messages().size(), 2);
    for (const QString& text : messages())
        EXPECT_TRUE(text.startsWith("맞춤법 사전이 설치되어 있지 않습니다.")) << text.toStdString();
    EXPECT_TRUE(dialogs.asked().isEmpty());

    // With only the English dictionary the English words are still checked.
    boxes.clear();
    for (const char* suffix : {".aff", ".dic"})
        ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/hunspell/en_US") + suffix, empty.filePath(QStringLiteral("en_US") + suffix)));
    qputenv("DICPATH", empty.path().toLocal8Bit());
    openBody("<p>teh 컴퓨타</p>");
    EXPECT_TRUE(ctrl.RunAction("SpellingCheck"));
    qunsetenv("DICPATH");
    EXPECT_EQ(messages().value(0), "다음 언어의 맞춤법 사전이 없어 그 낱말은 검사하지 않습니다: ko");
    ASSERT_EQ(dialogs.asked().size(), 1);
    EXPECT_EQ(dialogs.asked()[0].properties.value("word").toString(), "teh");
}

// ---------------------------------------------------------------- printing

TEST_F(TdxDialogActionsTest, PrintedPageHasThePageSetupsPaper)
{
    openBody("<p>printed chapter</p><p>second line</p>");
    tdx::PageGeometry device;
    device.paperWidth = 26844;
    device.paperHeight = 36284;
    device.leftMargin = device.rightMargin = 1417;
    device.topMargin = device.bottomMargin = 2551;
    device.headerLen = device.footerLen = 0;
    ASSERT_TRUE(control().setPage(device));
    const QString pdf = dir.filePath("out.pdf");

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    tdx::applyPageSetup(printer, control().page());
    ASSERT_TRUE(control().printTo(printer));

    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch size = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(out);
    ASSERT_TRUE(size.hasMatch()) << out.toStdString();
    // Qt's page sizes are whole points.
    EXPECT_NEAR(size.captured(1).toDouble(), 268.44, 1.0) << out.toStdString();
    EXPECT_NEAR(size.captured(2).toDouble(), 362.84, 1.0) << out.toStdString();
    EXPECT_TRUE(QRegularExpression(R"(Pages:\s+1\n)").match(out).hasMatch()) << out.toStdString();
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("printed chapter"));
}

TEST_F(TdxDialogActionsTest, PrintAndPreviewGoThroughTheDialogSeam)
{
    openBody("<p>text</p>");
    dialogs.enqueue(DialogAnswer::Cancel());
    EXPECT_FALSE(ctrl.RunAction("Print")) << "cancelled";
    EXPECT_TRUE(ctrl.RunAction("FilePreview"));
    ASSERT_EQ(dialogs.asked().size(), 2);
    EXPECT_EQ(dialogs.asked()[0].title, "인쇄");
    EXPECT_EQ(dialogs.asked()[1].title, "미리보기");
    EXPECT_TRUE(messages().isEmpty());
}

// A backend that puts the preview on the (offscreen) screen, as the user sees it.
class ShownPreview : public platform::DialogBackend {
public:
    int pages = -1;
    QSizeF paper;
    int run(QDialog& dialog) override
    {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        dialog.show();
        if (preview) {
            preview->updatePreview();
            pages = preview->pageCount();
        }
        if (auto* previewDialog = qobject_cast<QPrintPreviewDialog*>(&dialog))
            paper = previewDialog->printer()->pageLayout().fullRect(QPageLayout::Point).size();
        dialog.reject();
        return QDialog::Rejected;
    }
};

TEST_F(TdxDialogActionsTest, PreviewDrawsTheChapterOnThePageSetupsPaper)
{
    QString body;
    for (int i = 0; i < 120; ++i)
        body += QStringLiteral("<p>line %1</p>").arg(i);
    openBody(body);
    ShownPreview shown;
    platform::ScopedDialogBackend scope(&shown);
    EXPECT_TRUE(ctrl.RunAction("FilePreview"));
    EXPECT_GT(shown.pages, 1) << "a long chapter runs over pages";
    EXPECT_NEAR(shown.paper.width(), control().page().paperWidth / 100.0, 1.0);
    EXPECT_NEAR(shown.paper.height(), control().page().paperHeight / 100.0, 1.0);
}

} // namespace
