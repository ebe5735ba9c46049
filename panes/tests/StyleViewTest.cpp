// The style pane: twenty fixed rows, and a click passes the clicked row's index on.
#include "FakePaneHost.h"

#include "panes/StyleView.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

namespace {

void clickRow(CStyleView& view, int row)
{
    QTreeWidget* list = view.List();
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class StyleViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view.resize(200, 600);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }
    FakePaneHost m_host;
    CStyleView m_view{m_host};
};

TEST_F(StyleViewTest, ListsTheTwentyEntriesUnderItsHeading)
{
    QTreeWidget* list = m_view.List();
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("적용 가능 스타일"));
    QStringList rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        rows << list->topLevelItem(row)->text(0);
    EXPECT_EQ(rows.join(","), QStringLiteral("바탕글,본문,개요1,개요2,개요3,개요4,개요5,개요6,개요7,양쪽정렬,"
                                             "왼쪽정렬,오른쪽정렬,중앙정렬,들여쓰기,내어쓰기,번호매김,글머리,쪽번호,머리말,각주"));
    EXPECT_EQ(list->columnWidth(0), list->viewport()->width() - 3);
}

TEST_F(StyleViewTest, AClickPassesTheRowIndexAndASecondClickAppliesItAgain)
{
    clickRow(m_view, 17); // "쪽번호"
    clickRow(m_view, 17);
    clickRow(m_view, 0);
    EXPECT_EQ(m_host.appliedStyles, (QList<int>{17, 17, 0}));
}

TEST_F(StyleViewTest, WithoutAChapterViewAClickDoesNothing)
{
    m_host.activeView = false;
    clickRow(m_view, 3);
    EXPECT_TRUE(m_host.appliedStyles.isEmpty());
}

} // namespace
