#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTree.h"

#include <gtest/gtest.h>

#include <functional>

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

TEST(MemoryTree, InsertsAppendAfterAndFirst)
{
    MemoryTree tree;
    TreeItem a = tree.InsertItem("A", 1);
    TreeItem b = tree.InsertItem("B", 1);
    tree.InsertItem("A2", 2, a);
    tree.InsertItemAfter("A1", 2, a, nullptr);
    tree.InsertItemAfter("AB", 1, nullptr, a);
    EXPECT_EQ(preOrder(tree), (QStringList{"A", "A1", "A2", "AB", "B"}));
    EXPECT_EQ(tree.GetParentItem(tree.GetChildItem(a)), a);
    EXPECT_EQ(tree.GetParentItem(b), nullptr);
    EXPECT_EQ(tree.GetCount(), 5);
}

TEST(MemoryTree, DeleteRemovesSubtreeAndClearsSelection)
{
    MemoryTree tree;
    TreeItem a = tree.InsertItem("A", 1);
    TreeItem a1 = tree.InsertItem("A1", 2, a);
    tree.InsertItem("B", 1);
    tree.SelectItem(a1);
    EXPECT_TRUE(tree.DeleteItem(a));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(preOrder(tree), QStringList{"B"});
    tree.DeleteAllItems();
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

TEST(MemoryGrid, GroupsRowsAndBadIndexes)
{
    MemoryGrid grid;
    const int g = grid.AddGroup("required");
    EXPECT_EQ(grid.AddRow(g, "title", "v", "help"), 0);
    EXPECT_EQ(grid.AddRow(5, "x", "", ""), -1);
    grid.SetRowValue(g, 0, "new");
    EXPECT_EQ(grid.GetRowValue(g, 0), "new");
    EXPECT_EQ(grid.GetRowValue(g, 7), QString());
    EXPECT_EQ(grid.FindRow(g, "title"), 0);
    grid.CollapseGroup(g);
    EXPECT_FALSE(grid.IsGroupExpanded(g));
    EXPECT_TRUE(grid.RemoveRow(g, 0));
    EXPECT_FALSE(grid.RemoveRow(g, 0));
}
