// The publication pane on the offscreen platform: its grid, the picker, and deleting rows,
// with dialogs and message boxes answered by script.
#include "FakePaneHost.h"

#include "panes/AttributeDlg.h"
#include "panes/PaneCommandIds.h"
#include "panes/PropertiesToolBar.h"
#include "panes/PropertiesWnd.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"
#include "platform/ui/QtPropertyGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTest>
#include <QTreeWidget>

using platform::DialogAnswer;

namespace {

constexpr int kAdditional = 1;

class PropertiesWndTest : public ::testing::Test {
protected:
    void SetUp() override { m_pane.ResetGrid(); }

    platform::QtPropertyGrid& grid() { return *m_pane.Grid(); }
    // Picks the picker's row `row` and presses "추가".
    void addByScript(int row)
    {
        m_modal.enqueue(DialogAnswer::Press(QStringLiteral("addButton"), {{QStringLiteral("itemList"), row}}));
        m_pane.OnCommand(panecmd::AddAttributeButton);
    }
    QStringList additionalRows()
    {
        QStringList rows;
        for (int row = 0; row < grid().GetRowCount(kAdditional); ++row)
            rows << grid().GetRowName(kAdditional, row) + "=" + grid().GetRowValue(kAdditional, row);
        return rows;
    }

    FakePaneHost m_host;
    CPropertiesWnd m_pane{m_host};
    platform::ScriptedDialogs m_modal;
    platform::ScopedDialogBackend m_modalScope{&m_modal};
    platform::ScriptedMessageBoxes m_boxes;
    platform::ScopedMessageBoxBackend m_boxScope{&m_boxes};
};

TEST_F(PropertiesWndTest, TheGridHasNoHeaderAndDescribesTheSelectedRow)
{
    EXPECT_TRUE(grid().treeWidget()->header()->isHidden());
    grid().SelectRow(0, 3);
    EXPECT_TRUE(grid().descriptionText().contains(QStringLiteral("YY-MM-DD 형식으로 입력합니다.")));
    EXPECT_EQ(grid().GetRowValue(0, 0), QStringLiteral("제목"));
    EXPECT_EQ(grid().GetRowValue(0, 3), QStringLiteral("00-00-00"));
    ASSERT_TRUE(m_pane.ToolBar()->CommandAction(panecmd::AddAttributeButton));
    EXPECT_EQ(m_pane.ToolBar()->CommandAction(panecmd::AddAttributeButton)->toolTip(), QStringLiteral("추가항목 추가"));
    EXPECT_EQ(m_pane.ToolBar()->CommandAction(panecmd::DeleteAttributeButton)->toolTip(), QStringLiteral("추가항목 삭제"));
}

// Typing into a row opens the grid's editor for it: the two choice rows get a list that
// takes no typed text, the others a line.
TEST_F(PropertiesWndTest, OnlyTheTypeAndLanguageRowsRefuseTypedText)
{
    QTreeWidget* tree = grid().treeWidget();
    QWidget host;
    for (int row = 0; row < grid().GetRowCount(0); ++row) {
        const QModelIndex value = tree->model()->index(row, 1, tree->model()->index(0, 0));
        std::unique_ptr<QWidget> editor(tree->itemDelegate()->createEditor(&host, {}, value));
        ASSERT_TRUE(editor) << row;
        auto* combo = qobject_cast<QComboBox*>(editor.get());
        const bool choiceRow = row == 6 || row == 7;
        EXPECT_EQ(combo != nullptr, choiceRow) << row;
        if (combo)
            EXPECT_FALSE(combo->isEditable()) << row;
        else
            EXPECT_TRUE(qobject_cast<QLineEdit*>(editor.get())) << row;
        editor.release()->deleteLater();
    }
}

// A language the list lacks stays on offer and is what the row keeps when the list closes.
TEST_F(PropertiesWndTest, AHeldValueOutsideTheListIsKeptByTheEditor)
{
    grid().SetRowValue(0, 7, QStringLiteral("fr"));
    QTreeWidget* tree = grid().treeWidget();
    const QModelIndex value = tree->model()->index(7, 1, tree->model()->index(0, 0));
    QWidget host;
    auto* combo = qobject_cast<QComboBox*>(tree->itemDelegate()->createEditor(&host, {}, value));
    ASSERT_TRUE(combo);
    tree->itemDelegate()->setEditorData(combo, value);
    EXPECT_EQ(combo->currentText(), QStringLiteral("fr"));
    tree->itemDelegate()->setModelData(combo, tree->model(), value);
    EXPECT_EQ(grid().GetRowValue(0, 7), QStringLiteral("fr"));
    combo->setCurrentText(QStringLiteral("영어(EN)"));
    tree->itemDelegate()->setModelData(combo, tree->model(), value);
    EXPECT_EQ(grid().GetRowValue(0, 7), QStringLiteral("영어(EN)"));
}

TEST_F(PropertiesWndTest, TheFirstPickAddsARowAndASecondOfTheSameNameNothing)
{
    addByScript(0);
    ASSERT_EQ(additionalRows(), QStringList{QStringLiteral("부제=부제")});
    EXPECT_EQ(grid().GetRowHelp(kAdditional, 0), QStringLiteral("출판물 내용에 대한 부제를 입력합니다."));
    EXPECT_EQ(m_host.metadataEdits, 1);
    grid().SetRowValue(kAdditional, 0, QStringLiteral("A subtitle"));

    addByScript(0);
    EXPECT_EQ(additionalRows(), QStringList{QStringLiteral("부제=A subtitle")});
    EXPECT_EQ(m_host.metadataEdits, 1) << "nothing changed";
    EXPECT_TRUE(m_boxes.asked().isEmpty()) << "a duplicate is refused silently";

    ASSERT_EQ(m_modal.asked().size(), 2);
    EXPECT_EQ(m_modal.asked().first().title, QStringLiteral("추가항목 입력창"));
    EXPECT_EQ(m_modal.asked().first().fields.value(QStringLiteral("itemList")).toInt(), -1) << "none chosen";
}

TEST_F(PropertiesWndTest, AddWithoutAChoiceKeepsThePickerOpenAndCancelChangesNothing)
{
    m_modal.enqueue(DialogAnswer::Press(QStringLiteral("addButton")));
    m_modal.enqueue(DialogAnswer::Press(QStringLiteral("cancelButton")));
    m_pane.OnAddItem();
    EXPECT_EQ(m_modal.refusedPresses(), 1);
    EXPECT_TRUE(additionalRows().isEmpty());
    EXPECT_EQ(m_host.metadataEdits, 0);
}

// Answers the picker as a keyboard user does: focus the list, arrow down twice, Enter.
class KeyboardPicker : public platform::DialogBackend {
public:
    QString helpLine;
    int run(QDialog& dialog) override
    {
        dialog.show();
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("itemList"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        helpLine = static_cast<CAttributeDlg&>(dialog).HelpLine();
        QTest::keyClick(&dialog, Qt::Key_Return);
        return dialog.result();
    }
};

TEST_F(PropertiesWndTest, ARowReachedByKeyboardCarriesItsHelpText)
{
    KeyboardPicker keyboard;
    platform::ScopedDialogBackend scope(&keyboard);
    m_pane.OnAddItem();
    // The first arrow lands on the first row, the second on "편집인".
    EXPECT_EQ(keyboard.helpLine, QStringLiteral("출판물의 편집자를 입력합니다."));
    ASSERT_EQ(additionalRows(), QStringList{QStringLiteral("편집인=편집인")});
    EXPECT_EQ(grid().GetRowHelp(kAdditional, 0), QStringLiteral("출판물의 편집자를 입력합니다."));
}

TEST_F(PropertiesWndTest, DeletingIsRefusedForRequiredRowsAndAskedForAdditionalOnes)
{
    addByScript(0);
    addByScript(7);
    grid().SelectRow(0, 2);
    m_pane.OnCommand(panecmd::DeleteAttributeButton);
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked()[0].text, QStringLiteral("필수항목을 삭제할 수 없습니다."));
    EXPECT_EQ(m_boxes.asked()[0].caption, QStringLiteral("Test caption"));
    EXPECT_EQ(grid().GetRowCount(0), 8);

    grid().SelectRow(kAdditional, 1);
    m_boxes.enqueue(platform::MessageResult::No);
    m_pane.OnDeleteItem();
    ASSERT_EQ(m_boxes.asked().size(), 2);
    EXPECT_EQ(m_boxes.asked()[1].text, QStringLiteral("출판정보 [설명]를 삭제 하시겠습니까?"));
    EXPECT_EQ(m_boxes.asked()[1].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(additionalRows().size(), 2);

    const int editsBefore = m_host.metadataEdits;
    grid().SelectRow(kAdditional, 1);
    m_boxes.enqueue(platform::MessageResult::Yes);
    m_pane.OnDeleteItem();
    EXPECT_EQ(additionalRows(), QStringList{QStringLiteral("부제=부제")});
    EXPECT_EQ(m_host.metadataEdits, editsBefore + 1);

    grid().SelectRow(-1, -1);
    m_pane.OnDeleteItem();
    EXPECT_EQ(m_boxes.asked().size(), 3) << "nothing selected: nothing asked";
}

TEST_F(PropertiesWndTest, AnEditInTheGridTellsTheHost)
{
    grid().treeWidget()->topLevelItem(0)->child(0)->setText(1, QStringLiteral("New title"));
    EXPECT_EQ(m_host.metadataEdits, 1);
    grid().SetRowValue(0, 0, QStringLiteral("Loaded title")); // the package model filling the grid
    EXPECT_EQ(m_host.metadataEdits, 1);
}

TEST_F(PropertiesWndTest, TheGridFollowsTheSystemMessageFont)
{
    const QFont previous = QApplication::font("QMessageBox");
    QFont message = QApplication::font();
    message.setPointSize(message.pointSize() + 7);
    QApplication::setFont(message, "QMessageBox");
    QEvent changed(QEvent::ApplicationFontChange);
    QCoreApplication::sendEvent(&m_pane, &changed);
    EXPECT_EQ(grid().font().pointSize(), message.pointSize());
    QApplication::setFont(previous, "QMessageBox");
}

} // namespace
