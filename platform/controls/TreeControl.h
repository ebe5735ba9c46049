#pragma once
// A tree control as the panes use it: items with a text, one image index (normal and
// selected), and a data word. Item handles are opaque; a null handle means "none" and,
// as a parent, the root level.
#include <QString>
#include <QtGlobal>

namespace platform {

struct TreeItemTag;
using TreeItem = TreeItemTag*;

class TreeControl {
public:
    virtual ~TreeControl() = default;

    // Appends an item as the last child of parent (null: last root-level item).
    virtual TreeItem InsertItem(const QString& text, int image, TreeItem parent = nullptr) = 0;
    // Inserts an item under parent right after the sibling `after` (null: as the first child).
    virtual TreeItem InsertItemAfter(const QString& text, int image, TreeItem parent,
                                     TreeItem after) = 0;
    // Deletes the item with its whole subtree.
    virtual bool DeleteItem(TreeItem item) = 0;
    virtual void DeleteAllItems() = 0;

    virtual TreeItem GetRootItem() const = 0; // first root-level item
    virtual TreeItem GetChildItem(TreeItem item) const = 0;
    virtual TreeItem GetNextSiblingItem(TreeItem item) const = 0;
    virtual TreeItem GetPrevSiblingItem(TreeItem item) const = 0;
    virtual TreeItem GetParentItem(TreeItem item) const = 0;

    virtual QString GetItemText(TreeItem item) const = 0;
    virtual void SetItemText(TreeItem item, const QString& text) = 0;
    virtual int GetItemImage(TreeItem item) const = 0;
    virtual void SetItemImage(TreeItem item, int image) = 0;
    virtual quintptr GetItemData(TreeItem item) const = 0;
    virtual void SetItemData(TreeItem item, quintptr data) = 0;
    // What the user sees for the item where it differs from its text (empty: the text).
    // Code reads and writes the text; the caption only shows.
    virtual QString GetItemCaption(TreeItem item) const = 0;
    virtual void SetItemCaption(TreeItem item, const QString& caption) = 0;

    virtual TreeItem GetSelectedItem() const = 0;
    virtual void SelectItem(TreeItem item) = 0;
    virtual void Expand(TreeItem item) = 0;
    virtual bool IsExpanded(TreeItem item) const = 0;
    // Expands the item's ancestors and scrolls it into view.
    virtual void EnsureVisible(TreeItem item) = 0;
    // Holds drawing (false) during a batch of changes, and draws again (true).
    virtual void SetRedraw(bool redraw) = 0;

    int GetCount() const;
};

} // namespace platform
