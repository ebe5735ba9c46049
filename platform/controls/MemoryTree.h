#pragma once
#include "platform/controls/TreeControl.h"

#include <memory>
#include <vector>

namespace platform {

// A tree control without a screen, for headless programs and tests.
class MemoryTree : public TreeControl {
public:
    MemoryTree();
    ~MemoryTree() override;

    TreeItem InsertItem(const QString& text, int image, TreeItem parent = nullptr) override;
    TreeItem InsertItemAfter(const QString& text, int image, TreeItem parent,
                             TreeItem after) override;
    bool DeleteItem(TreeItem item) override;
    void DeleteAllItems() override;

    TreeItem GetRootItem() const override;
    TreeItem GetChildItem(TreeItem item) const override;
    TreeItem GetNextSiblingItem(TreeItem item) const override;
    TreeItem GetPrevSiblingItem(TreeItem item) const override;
    TreeItem GetParentItem(TreeItem item) const override;

    QString GetItemText(TreeItem item) const override;
    void SetItemText(TreeItem item, const QString& text) override;
    int GetItemImage(TreeItem item) const override;
    void SetItemImage(TreeItem item, int image) override;
    quintptr GetItemData(TreeItem item) const override;
    void SetItemData(TreeItem item, quintptr data) override;
    QString GetItemCaption(TreeItem item) const override;
    void SetItemCaption(TreeItem item, const QString& caption) override;

    TreeItem GetSelectedItem() const override;
    void SelectItem(TreeItem item) override;
    void Expand(TreeItem item) override;
    bool IsExpanded(TreeItem item) const override;
    void EnsureVisible(TreeItem item) override;
    void SetRedraw(bool) override {}

private:
    struct Node;
    Node* node(TreeItem item) const;
    Node* container(TreeItem parent) const;
    TreeItem insertAt(const QString& text, int image, TreeItem parent, size_t index);
    static void releaseChildren(std::vector<std::unique_ptr<Node>>& children);

    std::unique_ptr<Node> m_root;
    TreeItem m_selected = nullptr;
};

} // namespace platform
