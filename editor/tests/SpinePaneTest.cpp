#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "editor/BookPanes.h"
#include "panes/NaviToolBar.h"
#include "panes/PaneCommandIds.h"
#include "panes/SpineView.h"
#include "platform/ui/QtTreeControl.h"

#include <QAction>
#include <QRegularExpression>

using platform::QtTreeControl;
using platform::TreeItem;

namespace {

// The itemref idrefs of a package document, in order.
QStringList idrefsOf(const QByteArray& opf)
{
    QStringList idrefs;
    static const QRegularExpression itemref(QStringLiteral("<itemref idref=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& match : itemref.globalMatch(QString::fromUtf8(opf)))
        idrefs << match.captured(1);
    return idrefs;
}

} // namespace

class SpinePane : public FakeEditorFixture {
protected:
    // Three chapters, two of them in a sub-folder; the NCX names only the first two.
    void SetUp() override
    {
        FakeEditorFixture::SetUp();
        TestBookSpec layout;
        layout.chapters = {{"one.xhtml", "<p>1</p>", "Chapter One"},
                           {"Text/two.xhtml", "<p>2</p>", "Chapter Two"},
                           {"Text/three.xhtml", "<p>3</p>", "Chapter Three"}};
        layout.navMap = "<navPoint><navLabel><text>Chapter One</text></navLabel><content src=\"one.xhtml\"/></navPoint>"
                        "<navPoint><navLabel><text>Chapter Two</text></navLabel><content src=\"Text/two.xhtml#top\"/></navPoint>";
        m_book = WriteTestBook(Scratch(""), "spine.epub", layout);
        ASSERT_NE(m_app->OpenBookFile(m_book), nullptr);
    }

    QtTreeControl& Tree() const { return *Frame().Panes().SpineTree(); }
    CSpineView& Pane() const { return *Frame().Panes().SpineView(); }
    TreeItem Entry(int index) const
    {
        TreeItem item = Tree().GetRootItem();
        while (item && index-- > 0)
            item = Tree().GetNextSiblingItem(item);
        return item;
    }
    QStringList Order() const
    {
        QStringList ids;
        for (TreeItem item = Tree().GetRootItem(); item; item = Tree().GetNextSiblingItem(item))
            ids << Tree().GetItemText(item);
        return ids;
    }
    QString Folder() const { return Doc()->GetPackageFolder(); }

    QString m_book;
};

TEST_F(SpinePane, EntriesShowTheirChapterTitlesAndKeepTheirIds)
{
    EXPECT_EQ(Order(), (QStringList{"one", "two", "three"}));
    const QStringList shown{QtTreeControl::toQt(Entry(0))->text(0), QtTreeControl::toQt(Entry(1))->text(0),
                            QtTreeControl::toQt(Entry(2))->text(0)};
    EXPECT_EQ(shown, (QStringList{"Chapter One", "Chapter Two", "three"}));
    EXPECT_EQ(QtTreeControl::toQt(Entry(1))->toolTip(0), "two");
    // Only the two moves are on the toolbar.
    EXPECT_TRUE(Pane().ToolBar()->CommandAction(panecmd::MoveUp)->isEnabled());
    EXPECT_TRUE(Pane().ToolBar()->CommandAction(panecmd::MoveDown)->isEnabled());
    EXPECT_FALSE(Pane().ToolBar()->CommandAction(panecmd::Demote)->isEnabled());
    EXPECT_FALSE(Pane().ToolBar()->CommandAction(panecmd::AddChapterButton)->isEnabled());
}

TEST_F(SpinePane, MovesSwapRootEntriesOnlyAndTheSaveFollows)
{
    const struct {
        int selected;    // entry index, -1 for the first child of entry 1
        int command;
        QStringList order;
    } table[] = {
        {0, panecmd::MoveUp, {"one", "two", "three"}},
        {2, panecmd::MoveDown, {"one", "two", "three"}},
        {-1, panecmd::MoveDown, {"one", "two", "three"}},
        {2, panecmd::MoveUp, {"one", "three", "two"}},
        {0, panecmd::MoveDown, {"three", "one", "two"}},
    };
    for (const auto& row : table) {
        Tree().SelectItem(row.selected < 0 ? Tree().GetChildItem(Entry(1)) : Entry(row.selected));
        Pane().OnCommand(row.command);
        EXPECT_EQ(Order(), row.order) << row.selected << " " << row.command;
    }
    // The moved entry keeps its children, its caption and the selection.
    EXPECT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), "one");
    EXPECT_EQ(Tree().GetItemCaption(Entry(1)), "Chapter One");
    EXPECT_EQ(Tree().GetItemText(Tree().GetNextSiblingItem(Tree().GetChildItem(Entry(1)))), "one.xhtml");

    Doc()->OnFileSave();
    ProcessPosted();
    EXPECT_EQ(idrefsOf(ReadMember(m_book, "OEBPS/content.opf")), (QStringList{"three", "one", "two"}));
}

TEST_F(SpinePane, FileChildOpensItsChapterInItsFolder)
{
    // The id and the media type are no chapters.
    Fake()->log.clear();
    Tree().SelectItem(Entry(2));
    Tree().SelectItem(Tree().GetChildItem(Entry(2)));
    EXPECT_TRUE(Fake()->log.filter(QRegularExpression("^open\\|")).isEmpty());

    Tree().SelectItem(Tree().GetNextSiblingItem(Tree().GetChildItem(Entry(2))));
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "Text/three.xhtml");
}

TEST_F(SpinePane, NavigationEntryOfASubFolderChapterOpensIt)
{
    Tree().SelectItem(nullptr);
    QtTreeControl& navigation = *Frame().Panes().NavigationTree();
    TreeItem two = navigation.GetNextSiblingItem(navigation.GetChildItem(navigation.GetRootItem()));
    ASSERT_EQ(navigation.GetItemText(two), "Chapter Two");
    navigation.SelectItem(two);
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "Text/two.xhtml");
}

TEST_F(SpinePane, FailedWriteBackKeepsTheOpenChapter)
{
    const QString shown = View()->m_strChapterPath;
    Fake()->saveResult = false;
    Fake()->modified = true; // only a changed chapter is written back
    Tree().SelectItem(Tree().GetNextSiblingItem(Tree().GetChildItem(Entry(2))));
    EXPECT_EQ(View()->m_strChapterPath, shown);
    Fake()->saveResult = true;
    m_boxes.clear();
}

TEST_F(FakeEditorFixture, PercentEncodedTargetsOpenFromBothPanes)
{
    TestBookSpec layout;
    layout.chapters = {{"part one.xhtml", "<p>1</p>", "One"}, {"Text/part two.xhtml", "<p>2</p>", "Two"}};
    layout.encodeHrefs = true;
    ASSERT_NE(m_app->OpenBookFile(WriteTestBook(Scratch(""), "encoded.epub", layout)), nullptr);
    const QString folder = Doc()->GetPackageFolder();

    QtTreeControl& navigation = *Frame().Panes().NavigationTree();
    TreeItem two = navigation.GetNextSiblingItem(navigation.GetChildItem(navigation.GetRootItem()));
    ASSERT_EQ(navigation.GetItemText(navigation.GetChildItem(two)), "Text/part%20two.xhtml");
    navigation.SelectItem(two);
    EXPECT_EQ(View()->m_strChapterPath, folder + "Text/part two.xhtml");

    QtTreeControl& spine = *Frame().Panes().SpineTree();
    const TreeItem one = spine.GetRootItem();
    EXPECT_EQ(spine.GetItemCaption(one), "One");
    spine.SelectItem(spine.GetNextSiblingItem(spine.GetChildItem(one)));
    EXPECT_EQ(View()->m_strChapterPath, folder + "part one.xhtml");
}
