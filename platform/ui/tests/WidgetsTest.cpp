#include "platform/ui/FileDialogs.h"
#include "platform/ui/PropertyValueDelegate.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"
#include "platform/ui/RibbonApplicationMenu.h"
#include "platform/ui/RibbonBar.h"
#include "platform/ui/StatusIndicatorBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace platform;

namespace {

QStringList preOrder(const TreeControl& tree)
{
    QStringList out;
    std::function<void(TreeItem)> walk = [&](TreeItem item) {
        for (; item; item = tree.GetNextSiblingItem(item)) {
            out << tree.GetItemText(item);
            walk(tree.GetChildItem(item));
        }
    };
    walk(tree.GetRootItem());
    return out;
}

} // namespace

TEST(QtTreeControl, InsertsWalksAndDeletesLikeThePaneTree)
{
    QtTreeControl tree;
    TreeItem a = tree.InsertItem("A", 0);
    TreeItem b = tree.InsertItem("B", 1);
    TreeItem a2 = tree.InsertItem("A2", 2, a);
    tree.InsertItemAfter("A1", 2, a, nullptr);
    tree.InsertItemAfter("AB", 1, nullptr, a);
    EXPECT_EQ(preOrder(tree), (QStringList{"A", "A1", "A2", "AB", "B"}));
    EXPECT_EQ(tree.GetParentItem(a2), a);
    EXPECT_EQ(tree.GetParentItem(b), nullptr);
    EXPECT_EQ(tree.GetPrevSiblingItem(tree.GetRootItem()), nullptr);
    EXPECT_EQ(tree.GetChildItem(nullptr), a);
    EXPECT_EQ(tree.GetCount(), 5);
    // "after" must be a child of the given parent.
    EXPECT_EQ(tree.InsertItemAfter("X", 1, b, a2), nullptr);

    tree.SetItemData(a2, 77);
    tree.SetItemImage(a2, 5);
    EXPECT_EQ(tree.GetItemData(a2), 77u);
    EXPECT_EQ(tree.GetItemImage(a2), 5);

    tree.SelectItem(a2);
    EXPECT_EQ(tree.GetSelectedItem(), a2);
    EXPECT_TRUE(tree.DeleteItem(a));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(preOrder(tree), (QStringList{"AB", "B"}));
    tree.DeleteAllItems();
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    EXPECT_EQ(tree.GetCount(), 0);
}

TEST(QtTreeControl, ReportsSelectionsButNotInsertsAndDeletes)
{
    QtTreeControl tree;
    TreeItem a = tree.InsertItem("A", 0);
    TreeItem b = tree.InsertItem("B", 0);
    QList<TreeItem> selected;
    QObject::connect(&tree, &QtTreeControl::itemSelected, [&](TreeItem item) { selected << item; });
    tree.SelectItem(a);
    tree.SelectItem(a);
    EXPECT_EQ(selected, QList<TreeItem>{a});
    // Deleting the selected item selects nothing else, and says nothing.
    tree.InsertItemAfter("A2", 0, nullptr, a);
    tree.DeleteItem(a);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    tree.SelectItem(b);
    tree.DeleteAllItems();
    EXPECT_EQ(selected, (QList<TreeItem>{a, b}));
}

TEST(QtTreeControl, CaptionShowsWhileTheTextStays)
{
    QtTreeControl tree;
    TreeItem item = tree.InsertItem("ch01", 0);
    tree.SetItemCaption(item, "Chapter One");
    EXPECT_EQ(tree.GetItemText(item), "ch01");
    EXPECT_EQ(QtTreeControl::toQt(item)->text(0), "Chapter One");
    EXPECT_EQ(QtTreeControl::toQt(item)->toolTip(0), "ch01");
    tree.SetItemCaption(item, QString());
    EXPECT_EQ(QtTreeControl::toQt(item)->text(0), "ch01");
    EXPECT_TRUE(QtTreeControl::toQt(item)->toolTip(0).isEmpty());
}

TEST(QtTreeControl, LabelEditReportsTheTextAndChangesNothing)
{
    QtTreeControl tree;
    TreeItem item = tree.InsertItem("Old", 1);
    EXPECT_EQ(tree.EditLabel(item), nullptr); // label editing is off
    QStringList reported;
    QObject::connect(&tree, &QtTreeControl::labelEditEnded,
                     [&](TreeItem edited, const QString& text) { reported << tree.GetItemText(edited) + ">" + text; });
    tree.SetLabelEditing(true);
    QLineEdit* editor = tree.EditLabel(item);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Old");
    editor->setText("New");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QCoreApplication::processEvents();
    EXPECT_EQ(reported, QStringList{"Old>New"});
    EXPECT_EQ(tree.GetItemText(item), "Old");
    EXPECT_FALSE(QtTreeControl::toQt(item)->flags() & Qt::ItemIsEditable);
}

TEST(QtPropertyGrid, RowsValuesAndHelp)
{
    QtPropertyGrid grid;
    EXPECT_EQ(grid.AddGroup("필수 항목"), 0);
    EXPECT_EQ(grid.AddGroup("추가 항목"), 1);
    EXPECT_EQ(grid.AddRow(0, "제목", "제목", "책 제목을 입력합니다."), 0);
    EXPECT_EQ(grid.AddRow(0, "언어", "한국어(KO)", "언어"), 1);
    EXPECT_EQ(grid.AddRow(7, "x", "", ""), -1);
    grid.SetRowValue(0, 0, "Moby");
    EXPECT_EQ(grid.GetRowValue(0, 0), "Moby");
    EXPECT_EQ(grid.FindRow(0, "언어"), 1);
    EXPECT_EQ(grid.GetRowCount(1), 0);
    EXPECT_EQ(grid.GetSelectedRow(), -1);

    grid.SelectRow(0, 0);
    EXPECT_EQ(grid.GetSelectedGroup(), 0);
    EXPECT_EQ(grid.GetSelectedRow(), 0);
    EXPECT_TRUE(grid.descriptionText().contains("책 제목을 입력합니다."));

    grid.CollapseGroup(1);
    EXPECT_FALSE(grid.IsGroupExpanded(1));
    EXPECT_TRUE(grid.RemoveRow(0, 1));
    EXPECT_FALSE(grid.RemoveRow(0, 1));
    grid.RemoveAll();
    EXPECT_EQ(grid.GetGroupCount(), 0);
    EXPECT_TRUE(grid.descriptionText().isEmpty());
}

TEST(QtPropertyGrid, EditorsOfferOnlyTheChoicesOfAFixedRow)
{
    QtPropertyGrid grid;
    grid.AddGroup("g");
    grid.AddRow(0, "타입", "일반", "");
    grid.SetRowOptions(0, 0, {"일반", "신문"});
    grid.AddRow(0, "제목", "제목", "");
    QList<int> edited; // rows the user edited
    QObject::connect(&grid, &QtPropertyGrid::valueEdited, [&](int, int row) { edited << row; });

    QTreeWidget* tree = grid.treeWidget();
    QAbstractItemDelegate* delegate = tree->itemDelegate();
    QStyleOptionViewItem option;
    const QModelIndex group = tree->model()->index(0, 0);
    const QModelIndex fixedValue = tree->model()->index(0, 1, group);
    const QModelIndex freeValue = tree->model()->index(1, 1, group);
    const QModelIndex name = tree->model()->index(0, 0, group);

    EXPECT_EQ(delegate->createEditor(tree->viewport(), option, name), nullptr);

    std::unique_ptr<QWidget> editor(delegate->createEditor(tree->viewport(), option, fixedValue));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 2);
    delegate->setEditorData(combo, fixedValue);
    EXPECT_EQ(combo->currentText(), "일반");
    combo->setCurrentIndex(1);
    delegate->setModelData(combo, tree->model(), fixedValue);
    EXPECT_EQ(grid.GetRowValue(0, 0), "신문");

    std::unique_ptr<QWidget> line(delegate->createEditor(tree->viewport(), option, freeValue));
    ASSERT_NE(qobject_cast<QLineEdit*>(line.get()), nullptr);
    qobject_cast<QLineEdit*>(line.get())->setText("Moby Dick");
    delegate->setModelData(line.get(), tree->model(), freeValue);
    EXPECT_EQ(grid.GetRowValue(0, 1), "Moby Dick");

    // Only the user's edits are reported, not the program's own SetRowValue.
    grid.SetRowValue(0, 1, "again");
    EXPECT_EQ(edited, (QList<int>{0, 1}));
}

TEST(StatusIndicatorBar, IndicatorsSitAtEvenIndexes)
{
    StatusIndicatorBar bar;
    EXPECT_EQ(bar.addIndicator(121, "a", "A"), 0);
    EXPECT_EQ(bar.addIndicator(121, "b", "B"), 2);
    bar.setIndicatorText(2, "bb");
    EXPECT_EQ(bar.indicatorText(2), "bb");
    EXPECT_EQ(bar.indicatorLabel(0), "A");
    EXPECT_EQ(bar.indicatorText(1), QString());
}

TEST(RibbonBar, OneActionPerCommandWhereverPlaced)
{
    RibbonBar ribbon;
    ribbon.addCommand(57665, "프로그램종료", "exit", {}, {QKeySequence("Alt+X")});
    const int home = ribbon.addCategory("홈");
    const int panel = ribbon.addPanel(home, "종료");
    ribbon.addButton(home, panel, 57665);
    ribbon.addApplicationMenuCommand(57665, "프로그램 종료");
    ribbon.setApplicationMenuBottomCommand(57665, "프로그램 종료");
    EXPECT_EQ(ribbon.panelCommands(home, panel), QList<int>{57665});
    EXPECT_EQ(ribbon.commandToolTip(57665), "exit");
    EXPECT_EQ(ribbon.command(57665)->toolTip(), "exit (Alt+X)"); // what the button shows

    QList<int> triggered;
    QObject::connect(&ribbon, &RibbonBar::commandTriggered, [&](int id) { triggered << id; });
    QAction* menuEntry = ribbon.applicationMenu().entries().value(0);
    ASSERT_NE(menuEntry, nullptr);
    EXPECT_EQ(menuEntry->text(), "프로그램 종료");
    menuEntry->trigger();
    ribbon.applicationMenu().bottomEntry()->trigger();
    EXPECT_EQ(triggered, (QList<int>{57665, 57665}));

    ribbon.setCommandEnabled(57665, false);
    EXPECT_FALSE(menuEntry->isEnabled());
    EXPECT_FALSE(ribbon.panelButtons(home, panel).at(0).enabled);
}

TEST(RibbonBar, RecentFilesOpenFromTheApplicationMenu)
{
    RibbonBar ribbon;
    ribbon.setRecentFilesCaption("최근Epub문서", 300);
    ribbon.setRecentFiles({"/books/a.epub", "/books/b.epub"});
    ribbon.setRecentFiles({"/books/c.epub"}); // the list is replaced, not added to
    EXPECT_EQ(ribbon.applicationMenu().recentCaption(), "최근Epub문서");
    EXPECT_EQ(ribbon.applicationMenu().recentFiles(), QStringList{"/books/c.epub"});
    QStringList chosen;
    QObject::connect(&ribbon, &RibbonBar::recentFileChosen, [&](const QString& path) { chosen << path; });
    ribbon.applicationMenu().chooseRecentFile(0);
    ribbon.applicationMenu().chooseRecentFile(1); // no such entry
    EXPECT_EQ(chosen, QStringList{"/books/c.epub"});
}

TEST(RibbonBar, SmallButtonsStackThreeToAColumn)
{
    RibbonBar ribbon;
    for (int id = 1; id <= 5; ++id)
        ribbon.addCommand(id, QString("c%1").arg(id), "tip");
    const int tab = ribbon.addCategory("서식");
    const int panel = ribbon.addPanel(tab, "글꼴효과");
    ribbon.addButton(tab, panel, 1, RibbonBar::ButtonSize::Large);
    for (int id = 2; id <= 5; ++id)
        ribbon.addButton(tab, panel, id, RibbonBar::ButtonSize::Small);
    ribbon.resize(600, 120);
    ribbon.show();
    QList<QToolButton*> buttons;
    for (QToolButton* button : ribbon.findChildren<QToolButton*>())
        if (button->defaultAction() && button->defaultAction()->data().toInt() >= 1)
            buttons << button;
    auto at = [&](int id) {
        for (QToolButton* button : buttons)
            if (button->defaultAction()->data().toInt() == id)
                return button->geometry();
        return QRect();
    };
    EXPECT_EQ(at(2).left(), at(4).left());      // one column of three
    EXPECT_LT(at(2).top(), at(3).top());
    EXPECT_LT(at(3).top(), at(4).top());
    EXPECT_GT(at(5).left(), at(2).left());      // the fourth starts the next column
    EXPECT_GT(at(2).left(), at(1).left());
    EXPECT_EQ(ribbon.panelButtons(tab, panel).at(0).size, RibbonBar::ButtonSize::Large);
    EXPECT_EQ(ribbon.panelButtons(tab, panel).at(1).size, RibbonBar::ButtonSize::Small);
}

TEST(RibbonBar, KeyTipsOnAltChooseTabsThenButtons)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* ribbon = new RibbonBar;
    auto* field = new QLineEdit;
    layout->addWidget(ribbon);
    layout->addWidget(field);
    for (int id : {1, 2, 3, 9})
        ribbon->addCommand(id, QString("c%1").arg(id), "tip");
    ribbon->setApplicationButton("파일");
    const int first = ribbon->addCategory("홈");
    ribbon->addButton(first, ribbon->addPanel(first, "p"), 1);
    const int second = ribbon->addCategory("서식");
    const int panel = ribbon->addPanel(second, "p");
    ribbon->addButton(second, panel, 2);
    ribbon->addButton(second, panel, 3, RibbonBar::ButtonSize::Small);
    ribbon->addTabRowButton(9, "a");
    window.show();
    field->setFocus();
    QList<int> triggered;
    QObject::connect(ribbon, &RibbonBar::commandTriggered, [&](int id) { triggered << id; });

    QTest::keyPress(field, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(field, Qt::Key_Alt);
    EXPECT_EQ(ribbon->shownKeyTips(), (QStringList{"F", "1", "2", "a"}));
    QTest::keyClick(field, Qt::Key_2);
    EXPECT_EQ(ribbon->currentCategory(), second);
    EXPECT_EQ(ribbon->shownKeyTips(), (QStringList{"A", "B"}));
    QTest::keyClick(field, Qt::Key_Escape); // back to the tab row
    EXPECT_EQ(ribbon->shownKeyTips().size(), 4);
    QTest::keyClick(field, Qt::Key_2);
    QTest::keyClick(field, Qt::Key_B);
    EXPECT_TRUE(ribbon->shownKeyTips().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(triggered, QList<int>{3});
    EXPECT_EQ(field->text(), QString()); // the tips took the keys

    QTest::keyPress(field, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(field, Qt::Key_Alt);
    QTest::keyClick(field, Qt::Key_A);
    QCoreApplication::processEvents();
    EXPECT_EQ(triggered, (QList<int>{3, 9}));

    // Alt with another key is that key's shortcut, not the tips.
    QTest::keyPress(field, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(field, Qt::Key_N, Qt::AltModifier);
    QTest::keyRelease(field, Qt::Key_Alt);
    EXPECT_TRUE(ribbon->shownKeyTips().isEmpty());
}

TEST(FileDialogs, ScriptAnswersInOrderThenCancels)
{
    ScriptedFileDialogs script;
    ScopedFileDialogBackend scope(&script);
    script.enqueue("/tmp/a.epub");
    FileDialogRequest request;
    request.filter = "Lindar Files (*.epub)";
    EXPECT_EQ(AskFileName(request), "/tmp/a.epub");
    EXPECT_EQ(AskFileName(request), QString());
    ASSERT_EQ(script.asked().size(), 2);
    EXPECT_EQ(script.asked().at(0).filter, "Lindar Files (*.epub)");
}
