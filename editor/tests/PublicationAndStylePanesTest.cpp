// The publication, style and output panes in the running editor: what the user does there
// reaches the book, and only what the user did.
#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "components/tdx/EditorControl.h"
#include "editor/BookPanes.h"
#include "editor/CommandIds.h"
#include "panes/OutputWnd.h"
#include "panes/PaneCommandIds.h"
#include "panes/PropertiesWnd.h"
#include "panes/StyleView.h"
#include "platform/ui/QtPropertyGrid.h"

#include <QTabBar>
#include <QTreeWidget>

using platform::DialogAnswer;
using platform::MessageResult;

namespace {

QString rowValue(const platform::PropertyGrid& grid, const QString& name)
{
    return grid.GetRowValue(0, grid.FindRow(0, name));
}

} // namespace

class PublicationPane : public EditorFixture {
protected:
    platform::QtPropertyGrid& Grid() const { return *Frame().Panes().PropertyGrid(); }
    CPropertiesWnd& Pane() const { return *Frame().Panes().PropertiesWnd(); }

    QString OpenBook(const QString& language, const QString& extraMetadata = {})
    {
        TestBookSpec layout;
        layout.language = language;
        layout.extraMetadata = extraMetadata;
        layout.chapters = {{"one.xhtml", "<p>One</p>", "One"}};
        const QString book = WriteTestBook(Scratch(""), "pane.epub", layout);
        EXPECT_NE(m_app->OpenBookFile(book), nullptr);
        return book;
    }
    void SaveAndSettle()
    {
        Frame().OnCommand(cmd::SaveBook);
        ProcessPosted();
    }
};

TEST_F(PublicationPane, AFrenchBookKeepsItsLanguageThroughATitleChange)
{
    const QString book = OpenBook(QStringLiteral("fr"));
    EXPECT_EQ(rowValue(Grid(), QStringLiteral("언어")), QStringLiteral("fr"));

    // The user's edit goes through the grid's own editor, as typing does.
    QTreeWidgetItem* title = Grid().treeWidget()->topLevelItem(0)->child(0);
    title->setText(1, QStringLiteral("Nouveau titre"));
    EXPECT_TRUE(View()->m_bUnsaved) << "a grid edit is an unsaved change";
    EXPECT_TRUE(Frame().windowTitle().endsWith(QStringLiteral(" *")));

    SaveAndSettle();
    const QByteArray opf = ReadMember(book, "OEBPS/content.opf");
    EXPECT_TRUE(opf.contains("<dc:title>Nouveau titre</dc:title>")) << opf.constData();
    EXPECT_TRUE(opf.contains("<dc:language>fr</dc:language>")) << opf.constData();
    EXPECT_EQ(rowValue(Grid(), QStringLiteral("언어")), QStringLiteral("fr"));
}

TEST_F(PublicationPane, DeletingAnAdditionalRowRemovesItsElementOnSave)
{
    const QString book = OpenBook(QStringLiteral("en"),
                                  QStringLiteral("    <dc:description>A short blurb</dc:description>\n"
                                                 "    <dc:subject>Fiction</dc:subject>\n"));
    ASSERT_EQ(Grid().GetRowCount(1), 2);
    const int description = Grid().FindRow(1, QStringLiteral("설명"));
    ASSERT_GE(description, 0);
    Grid().SelectRow(1, description);
    m_boxes.enqueue(MessageResult::Yes);
    Pane().OnCommand(panecmd::DeleteAttributeButton);
    EXPECT_TRUE(Questions().contains(QStringLiteral("출판정보 [설명]를 삭제 하시겠습니까?")));
    EXPECT_TRUE(View()->m_bUnsaved);

    SaveAndSettle();
    const QByteArray opf = ReadMember(book, "OEBPS/content.opf");
    EXPECT_FALSE(opf.contains("dc:description")) << opf.constData();
    EXPECT_TRUE(opf.contains("<dc:subject>Fiction</dc:subject>")) << "the other row's element stays";
}

TEST_F(PublicationPane, TheFrameCommandAddsAnItemThroughThePicker)
{
    OpenBook(QStringLiteral("en"));
    m_modal.enqueue(DialogAnswer::Press(QStringLiteral("addButton"), {{QStringLiteral("itemList"), 1}}));
    Frame().OnCommand(cmd::AddAttribute);
    ASSERT_EQ(Grid().GetRowCount(1), 1);
    EXPECT_EQ(Grid().GetRowName(1, 0), QStringLiteral("편집인"));
    EXPECT_TRUE(View()->m_bUnsaved);
}

TEST_F(PublicationPane, ThePaneTakesInputOnlyWhileABookIsOpen)
{
    EXPECT_FALSE(Pane().isEnabled());
    OpenBook(QStringLiteral("en"));
    EXPECT_TRUE(Pane().isEnabled());
}

// The style pane on the real control: a click styles the paragraph at the caret.
class StylePane : public EditorFixture {};

TEST_F(StylePane, ClickingPageNumberAppliesTheControlsStyleNine)
{
    CStyleView& pane = *Frame().Panes().StyleView();
    ASSERT_EQ(pane.List()->topLevelItemCount(), CStyleView::kEntryCount);
    pane.List()->setCurrentItem(pane.List()->topLevelItem(17));
    pane.OnClick(); // no book, no chapter view: nothing happens

    m_boxes.enqueue(MessageResult::No); // the style question: the list is there either way
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("styled.epub")), nullptr);
    auto* control = View()->findChild<tdx::EditorControl*>();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(pane.List()->topLevelItemCount(), CStyleView::kEntryCount);
    control->document()->setModified(false);

    pane.List()->setCurrentItem(pane.List()->topLevelItem(17)); // "쪽번호"
    pane.OnClick();
    EXPECT_EQ(control->currentStyleIndex(), 9);
    EXPECT_TRUE(control->isModified(1));
}

// Each entry reaches the control as the action it stands for.
class StyleEntries : public FakeEditorFixture {};

TEST_F(StyleEntries, EachIndexRunsItsActionOrAppliesItsStyle)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("entries.epub")), nullptr);
    const struct {
        int index;
        const char* expected; // "Style=N" or the run action's name
    } cases[] = {
        {0, "Style=0"},  {1, "Style=1"},  {2, "Style=2"}, {8, "Style=8"},
        {9, "ParagraphShapeAlignJustify"}, {10, "ParagraphShapeAlignLeft"}, {11, "ParagraphShapeAlignRight"},
        {12, "ParagraphShapeAlignCenter"}, {13, "ParagraphShapeIncreaseLeftMargin"},
        {14, "ParagraphShapeDecreaseLeftMargin"}, {15, "PutParaNumber"}, {16, "PutBullet"},
        {17, "Style=9"}, {18, "Style=10"}, {19, "Style=11"}, {20, ""}, {-1, ""},
    };
    for (const auto& c : cases) {
        Fake()->executed.clear();
        Fake()->log.clear();
        Frame().ApplyStyleEntry(c.index);
        QStringList seen;
        for (const FakeTdxControl::Executed& executed : Fake()->executed)
            seen << executed.action + "=" + executed.set->item("Apply").toString();
        for (const QString& line : Fake()->log) {
            if (line.startsWith("run|"))
                seen << line.mid(4);
        }
        EXPECT_EQ(seen.join(","), QString::fromLatin1(c.expected)) << c.index;
    }
}

TEST_F(StyleEntries, TheOutputPaneIsAnEmptyTabStripAtTheBottom)
{
    QTabBar* tabs = Frame().Panes().OutputWnd()->Tabs();
    EXPECT_EQ(tabs->count(), 0);
    EXPECT_EQ(tabs->shape(), QTabBar::RoundedSouth);
    EXPECT_FALSE(tabs->tabsClosable());
}
