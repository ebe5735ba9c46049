#include "panes/MetadataGridBuilder.h"

#include "platform/controls/MemoryGrid.h"

#include <gtest/gtest.h>

TEST(MetadataGridBuilder, ResetBuildsBothGroupsAfresh)
{
    platform::MemoryGrid grid;
    grid.AddGroup("stale");
    grid.AddRow(0, "old", "old", "");
    CMetadataGridBuilder::ResetGrid(grid);
    CMetadataGridBuilder::AddAdditionalItem(grid, "부제", "help");
    CMetadataGridBuilder::ResetGrid(grid); // a second book starts clean

    ASSERT_EQ(grid.GetGroupCount(), 2);
    EXPECT_EQ(grid.GetGroupName(0), QStringLiteral("필수 항목"));
    EXPECT_EQ(grid.GetGroupName(1), QStringLiteral("추가 항목"));
    EXPECT_EQ(grid.GetRowCount(1), 0);

    QStringList rows;
    for (int row = 0; row < grid.GetRowCount(0); ++row)
        rows << grid.GetRowName(0, row) + "=" + grid.GetRowValue(0, row) + "|" + grid.GetRowHelp(0, row);
    EXPECT_EQ(rows, (QStringList{
                        QStringLiteral("제목=제목|책 제목을 입력합니다."),
                        QStringLiteral("저자=저자|저자를 입력 합니다."),
                        QStringLiteral("출판사=출판사|출판사를 입력 합니다."),
                        QStringLiteral("출판일=00-00-00|YY-MM-DD 형식으로 입력합니다."),
                        QStringLiteral("ISBN=ISBN|ISBN 값을 입력 합니다."),
                        QStringLiteral("ECN=ECN|ECN 값을 입력 합니다."),
                        QStringLiteral("타입=일반|출판물 타입을 선택합니다."),
                        QStringLiteral("언어=한국어(KO)|출판물의 언어를 선택합니다."),
                    }));
    EXPECT_EQ(grid.GetRowOptions(0, 6).join(","), QStringLiteral("일반,신문,잡지,만화,사전,논문,간행물,연재물,기타"));
    EXPECT_EQ(grid.GetRowOptions(0, 7).join(","),
              QStringLiteral("한국어(KO),영어(EN),독일어(DE),스페인어(ES),티벳(BO),일본어(JA),라틴(LA),헝가리(HU),네델란드(NL),중국(ZH)"));
    for (int row = 0; row < 6; ++row)
        EXPECT_TRUE(grid.GetRowOptions(0, row).isEmpty()) << row;
}

TEST(MetadataGridBuilder, AnAdditionalItemIsAddedOnce)
{
    platform::MemoryGrid grid;
    EXPECT_FALSE(CMetadataGridBuilder::AddAdditionalItem(grid, "부제", "help")); // no grid built yet
    CMetadataGridBuilder::ResetGrid(grid);
    EXPECT_TRUE(CMetadataGridBuilder::AddAdditionalItem(grid, "부제", "help"));
    grid.SetRowValue(1, 0, "edited");
    EXPECT_FALSE(CMetadataGridBuilder::AddAdditionalItem(grid, "부제", "other"));
    ASSERT_EQ(grid.GetRowCount(1), 1);
    EXPECT_EQ(grid.GetRowValue(1, 0), QStringLiteral("edited"));
    EXPECT_EQ(grid.GetRowHelp(1, 0), QStringLiteral("help"));
}
