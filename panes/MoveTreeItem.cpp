#include "panes/MoveTreeItem.h"

#include <QList>

#include <utility>

using platform::TreeControl;
using platform::TreeItem;

namespace {

void copyState(TreeControl& tree, TreeItem from, TreeItem to)
{
    tree.SetItemData(to, tree.GetItemData(from));
    tree.SetItemCaption(to, tree.GetItemCaption(from));
}

QString cutText(const TreeControl& tree, TreeItem item) { return tree.GetItemText(item).left(kMaxTreeItemText); }

// Copies the children of `from`, each with its subtree in order, as the last children of
// `to`. Walked with a stack: a table of contents can be deep.
void copyChildren(TreeControl& tree, TreeItem from, TreeItem to)
{
    QList<std::pair<TreeItem, TreeItem>> pending{{from, to}}; // (source, its copy)
    QList<std::pair<TreeItem, TreeItem>> expand;
    while (!pending.isEmpty()) {
        const auto [source, copy] = pending.takeLast();
        if (tree.IsExpanded(source))
            expand.append(std::make_pair(source, copy));
        for (TreeItem child = tree.GetChildItem(source); child; child = tree.GetNextSiblingItem(child)) {
            TreeItem made = tree.InsertItem(cutText(tree, child), tree.GetItemImage(child), copy);
            copyState(tree, child, made);
            pending.append(std::make_pair(child, made));
        }
    }
    // Expanding as the last step: an item shows its expansion only once it has children.
    for (const auto& [source, copy] : expand)
        tree.Expand(copy);
}

} // namespace

TreeItem MoveTreeItem(TreeControl& tree, TreeItem item, TreeItem parent, TreeItem after)
{
    if (!item)
        return nullptr;
    tree.SetRedraw(false);
    TreeItem copy = tree.InsertItemAfter(cutText(tree, item), tree.GetItemImage(item), parent, after);
    if (!copy) {
        tree.SetRedraw(true);
        return nullptr;
    }
    copyState(tree, item, copy);
    copyChildren(tree, item, copy);
    tree.DeleteItem(item);
    tree.SelectItem(copy);
    tree.EnsureVisible(copy);
    tree.SetRedraw(true);
    return copy;
}
