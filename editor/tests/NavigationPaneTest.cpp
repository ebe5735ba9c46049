#include "EditorFixture.h"
#include "FakeTdxControl.h"
#include "NavigationTreeText.h"

#include "editor/BookPanes.h"
#include "panes/NaviView.h"
#include "panes/PaneCommandIds.h"
#include "platform/ui/DockPane.h"
#include "platform/ui/QtTreeControl.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

using platform::QtTreeControl;
using platform::TreeItem;
using navtest::findItem;
using navtest::navPoint;
using navtest::shape;

namespace {


// Every item's data word by its text (the fixtures' texts are unique).
QMap<QString, quintptr> dataWords(const QtTreeControl& tree, TreeItem first, QMap<QString, quintptr> words = {})
{
    for (TreeItem item = first; item; item = tree.GetNextSiblingItem(item)) {
        words.insert(tree.GetItemText(item), tree.GetItemData(item));
        words = dataWords(tree, tree.GetChildItem(item), words);
    }
    return words;
}

void numberItems(QtTreeControl& tree, TreeItem first, quintptr& next)
{
    for (TreeItem item = first; item; item = tree.GetNextSiblingItem(item)) {
        tree.SetItemData(item, next++);
        numberItems(tree, tree.GetChildItem(item), next);
    }
}

// The navLabel texts of an NCX, in document order.
QStringList labelsOf(const QByteArray& ncx)
{
    QStringList labels;
    static const QRegularExpression label(QStringLiteral("<navLabel>\\s*<text>([^<]*)</text>"));
    for (const QRegularExpressionMatch& match : label.globalMatch(QString::fromUtf8(ncx)))
        labels << match.captured(1);
    return labels;
}

// A table of contents with sub-entries: A holds A1 and A2, then B and C follow.
QString nestedNavMap()
{
    return navPoint("A", "a.xhtml", navPoint("A1", "a.xhtml#1") + navPoint("A2", "a.xhtml#2"))
        + navPoint("B", "b.xhtml") + navPoint("C", "c.xhtml");
}

const QString kNested = "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] B[=b.xhtml] C[=c.xhtml]]";

} // namespace

class NavigationPane : public FakeEditorFixture {
protected:
    void OpenBook(const QString& name, const std::optional<QString>& navMap, const QString& ncxHref = "toc.ncx",
                  QList<TestChapter> chapters = {})
    {
        TestBookSpec layout;
        layout.chapters = chapters.isEmpty()
            ? QList<TestChapter>{{"a.xhtml", "<p>a</p>", "A"}, {"b.xhtml", "<p>b</p>", "B"}, {"c.xhtml", "<p>c</p>", "C"}}
            : chapters;
        layout.pictures = {"pic1.png"};
        layout.navMap = navMap;
        layout.ncxHref = ncxHref;
        m_book = WriteTestBook(Scratch(""), name, layout);
        ASSERT_NE(m_app->OpenBookFile(m_book), nullptr);
        Frame().Panes().NaviPane()->raise();
        QCoreApplication::processEvents();
    }

    QtTreeControl& Tree() const { return *Frame().Panes().NavigationTree(); }
    CNaviView& Pane() const { return *Frame().Panes().NaviView(); }
    QString Shape() const { return shape(Tree(), Tree().GetRootItem()); }
    TreeItem Item(const QString& text) const { return findItem(Tree(), text, Tree().GetRootItem()); }
    QString Folder() const { return Doc()->GetPackageFolder(); }
    QStringList Opened() const { return Fake()->log.filter(QRegularExpression("^open\\|.*\\|HTML\\|")); }

    QString m_book;
};

struct MoveCase {
    const char* name;
    const char* selected;
    QList<int> commands;
    const char* expected; // empty: the tree stays as it was
};

class NavigationMoves : public NavigationPane, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(NavigationMoves, FollowTheRulesAndCarryTheItems)
{
    const MoveCase& move = GetParam();
    OpenBook("moves.epub", nestedNavMap());
    ASSERT_EQ(Shape(), kNested);
    quintptr next = 1;
    numberItems(Tree(), Tree().GetRootItem(), next);
    const QMap<QString, quintptr> words = dataWords(Tree(), Tree().GetRootItem());

    Tree().SelectItem(Item(move.selected));
    for (int command : move.commands)
        Pane().OnCommand(command);

    EXPECT_EQ(Shape(), QString(move.expected).isEmpty() ? kNested : QString(move.expected));
    EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), move.selected);
    EXPECT_EQ(dataWords(Tree(), Tree().GetRootItem()), words); // each item keeps its data word
}

INSTANTIATE_TEST_SUITE_P(
    Table, NavigationMoves,
    ::testing::Values(
        MoveCase{"FirstSubEntryUpStaysAfterTheContentItem", "A1", {panecmd::MoveUp}, ""},
        MoveCase{"TitleUpAndDownIsRecreatedInPlace", "Test Book", {panecmd::MoveUp, panecmd::MoveDown}, ""},
        MoveCase{"DemoteOfTheLastEntryDoesNothing", "C", {panecmd::Demote}, ""},
        MoveCase{"DemoteBecomesFirstSubEntryOfTheNext", "B", {panecmd::Demote},
                 "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] C[=c.xhtml B[=b.xhtml]]]"},
        MoveCase{"PromoteAtTopLevelDoesNothing", "A", {panecmd::Promote}, ""},
        MoveCase{"PromoteAtSecondLevelGoesBeforeTheParent", "A2", {panecmd::Promote},
                 "Test Book[A2[=a.xhtml#2] A[=a.xhtml A1[=a.xhtml#1]] B[=b.xhtml] C[=c.xhtml]]"},
        MoveCase{"DownCarriesTheSubtree", "A", {panecmd::MoveDown},
                 "Test Book[B[=b.xhtml] A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] C[=c.xhtml]]"},
        MoveCase{"UpSwapsWithThePrevious", "C", {panecmd::MoveUp},
                 "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] C[=c.xhtml] B[=b.xhtml]]"},
        MoveCase{"DownAtTheEndStays", "C", {panecmd::MoveDown}, ""},
        MoveCase{"ContentItemsNeverMove", "b.xhtml", {panecmd::MoveUp, panecmd::Demote}, ""}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST_F(NavigationPane, TitleAndNoticeAloneNeverMove)
{
    OpenBook("empty.epub", QString());
    ASSERT_EQ(Shape(), "Test Book[navigation 정보가 없습니다.]");
    for (const QString& selected : {QString("Test Book"), QString("navigation 정보가 없습니다.")}) {
        Tree().SelectItem(Item(selected));
        for (int command : {panecmd::MoveUp, panecmd::MoveDown, panecmd::Demote, panecmd::Promote})
            Pane().OnCommand(command);
        EXPECT_EQ(Shape(), "Test Book[navigation 정보가 없습니다.]");
    }
}

TEST_F(NavigationPane, MovedEntryStaysSelectedWithoutReopeningItsChapter)
{
    OpenBook("open.epub", nestedNavMap());
    Tree().SelectItem(Item("C"));
    Fake()->log.clear();
    Pane().OnCommand(panecmd::MoveUp);
    EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), "C");
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "c.xhtml");
    EXPECT_TRUE(Opened().isEmpty()) << "the chapter shown already is not reopened";
}

TEST_F(NavigationPane, SaveWritesTheNavMapInTheNewOrder)
{
    OpenBook("saved.epub", nestedNavMap());
    Tree().SelectItem(Item("A"));
    Pane().OnCommand(panecmd::MoveDown);
    Tree().SelectItem(Item("C"));
    Pane().OnCommand(panecmd::MoveUp);
    Pane().OnCommand(panecmd::MoveUp);
    Doc()->OnFileSave();
    ProcessPosted();
    EXPECT_EQ(labelsOf(ReadMember(m_book, "OEBPS/toc.ncx")), (QStringList{"C", "B", "A", "A1", "A2"}));
}

// Targets: a bookmark in a chapter, a picture, a missing file.
TEST_F(NavigationPane, SelectionOpensChaptersAndBookmarksOnly)
{
    OpenBook("targets.epub", navPoint("A", "a.xhtml") + navPoint("B", "b.xhtml", navPoint("B1", "b.xhtml#b1"))
                                 + navPoint("Picture", "images/pic1.png") + navPoint("Gone", "gone.xhtml"));
    Tree().SelectItem(Item("B"));
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "b.xhtml");

    // The chapter shown already opens again for its bookmark.
    Fake()->log.clear();
    Fake()->executed.clear();
    Tree().SelectItem(Item("b.xhtml#b1"));
    EXPECT_EQ(Opened().size(), 1);
    ASSERT_FALSE(Fake()->executed.isEmpty());
    const FakeTdxControl::Executed& jump = Fake()->executed.last();
    EXPECT_EQ(jump.action, "Bookmark");
    EXPECT_EQ(jump.set->item("Name").toString(), "b1");
    EXPECT_EQ(jump.set->item("Command").toInt(), 1);

    Fake()->log.clear();
    m_boxes.clear();
    Tree().SelectItem(Item("Picture"));
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_TRUE(m_boxes.asked().isEmpty());
    Tree().SelectItem(Item("Gone"));
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "b.xhtml");
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_TRUE(m_boxes.asked().first().text.startsWith("파일이 존재하지 않습니다."));
}

TEST_F(NavigationPane, TargetsAreReadFromTheNcxFolder)
{
    // The NCX sits in its own folder and the chapters in another one.
    OpenBook("folders.epub", std::nullopt, "nav/toc.ncx",
             {{"Text/one.xhtml", "<p>one</p>", "One"}, {"Text/two.xhtml", "<p>two</p>", "Two"}});
    ASSERT_EQ(Shape(), "Test Book[One[=../Text/one.xhtml] Two[=../Text/two.xhtml]]");
    Tree().SelectItem(Item("Two"));
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "Text/two.xhtml");
}

TEST_F(NavigationPane, RightClickSetsTheMenuFlagsByKind)
{
    OpenBook("menu.epub", navPoint("A", "a.xhtml"));
    const QList<int> ids{panecmd::ShowSource, panecmd::AddChapter, panecmd::InsertBookmark, panecmd::DeleteContent,
                         panecmd::RenameEntry};
    auto flags = [&] {
        QList<bool> out;
        for (int id : ids)
            out << Pane().IsMenuCommandEnabled(id);
        return out;
    };
    auto rightClick = [&](const QPoint& viewportPoint, bool fromMouse = true) {
        Pane().OnContextMenu(Tree().viewport()->mapToGlobal(viewportPoint), fromMouse);
        Pane().ContextMenu()->close();
    };
    auto centre = [&](const QString& text) {
        Tree().Expand(Tree().GetParentItem(Item(text)));
        return Tree().visualItemRect(QtTreeControl::toQt(Item(text))).center();
    };
    const struct {
        const char* item;
        QList<bool> enabled; // 32778, 32794, 32799, 32811, 32839
    } table[] = {
        {"Test Book", {true, true, true, false, true}},
        {"A", {true, true, true, false, true}},
        {"a.xhtml", {true, false, false, true, false}},
    };
    for (const auto& row : table) {
        rightClick(centre(row.item));
        EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), row.item);
        EXPECT_EQ(flags(), row.enabled) << row.item;
    }
    // The keyboard's menu key keeps the flags of the last right-click.
    rightClick(QPoint(-1, -1), false);
    EXPECT_EQ(flags(), (QList<bool>{true, false, false, true, false}));
    rightClick(QPoint(5, Tree().viewport()->height() - 2));
    EXPECT_EQ(flags(), (QList<bool>{false, false, false, false, false}));
}

TEST_F(NavigationPane, RightClickOnTheNoticeEnablesNothing)
{
    OpenBook("notice.epub", QString());
    TreeItem notice = Item("navigation 정보가 없습니다.");
    Tree().Expand(Tree().GetRootItem());
    const QPoint point = Tree().visualItemRect(QtTreeControl::toQt(notice)).center();
    Pane().OnContextMenu(Tree().viewport()->mapToGlobal(point), true);
    Pane().ContextMenu()->close();
    for (int id : {panecmd::ShowSource, panecmd::AddChapter, panecmd::InsertBookmark, panecmd::DeleteContent,
                   panecmd::RenameEntry})
        EXPECT_FALSE(Pane().IsMenuCommandEnabled(id)) << id;
}

TEST_F(NavigationPane, RenameKeepsTheLabelWhenEmptiedAndPastesWithCtrlV)
{
    OpenBook("rename.epub", navPoint("A", "a.xhtml") + navPoint("B", "b.xhtml"));
    auto rename = [&](const QString& text, Qt::Key end = Qt::Key_Return) {
        Pane().OnMenuCommand(panecmd::RenameEntry);
        QLineEdit* editor = Tree().GetEditControl();
        if (!editor)
            return false;
        editor->setText(text);
        QKeyEvent press(QEvent::KeyPress, end, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents(); // Enter ends the edit through a queued call
        return true;
    };
    Tree().SelectItem(Item("A"));
    ASSERT_TRUE(rename(""));
    EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), "A");
    EXPECT_FALSE(Tree().IsLabelEditing());
    ASSERT_TRUE(rename("Cancelled", Qt::Key_Escape));
    EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), "A");
    ASSERT_TRUE(rename("Opening"));
    EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), "Opening");

    // A content item is never renamed.
    Tree().SelectItem(Item("b.xhtml"));
    EXPECT_FALSE(rename("x"));

    // Ctrl+V while renaming goes into the label, never to the frame's paste command.
    Tree().SelectItem(Item("B"));
    Pane().OnMenuCommand(panecmd::RenameEntry);
    QLineEdit* editor = Tree().GetEditControl();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QApplication::clipboard()->setText("Pasted");
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(&Tree(), &override);
    EXPECT_TRUE(override.isAccepted());
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(&Tree(), &paste);
    EXPECT_EQ(editor->text(), "Pasted");

    // Typed on the keyboard, past the frame's own Ctrl+V.
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    ASSERT_EQ(Tree().GetEditControl(), editor);
    editor->setFocus();
    Fake()->log.clear();
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), "PastedPasted");
    EXPECT_FALSE(Fake()->log.contains("run|Paste"));
}
