#include "platform/controls/MemoryTree.h"

#include <algorithm>

namespace platform {

struct MemoryTree::Node {
    QString text;
    QString caption;
    int image = 0;
    quintptr data = 0;
    bool expanded = false;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    // Where this node last stood among its siblings. Walks ask for the next sibling of each
    // item in turn, so finding the node must not mean scanning its siblings: the hint is
    // right unless a sibling came or went before it, which moves it by one.
    mutable size_t indexHint = 0;

    size_t indexInParent() const
    {
        const auto& siblings = parent->children;
        for (size_t candidate : {indexHint, indexHint + 1, indexHint - 1}) {
            if (candidate < siblings.size() && siblings[candidate].get() == this)
                return indexHint = candidate;
        }
        indexHint = size_t(std::find_if(siblings.begin(), siblings.end(),
                                        [this](const auto& n) { return n.get() == this; })
                           - siblings.begin());
        return indexHint;
    }
};

// Frees a subtree without recursing: a tree as deep as a book's table of contents would
// otherwise take one stack frame per level in the nodes' destructors.
void MemoryTree::releaseChildren(std::vector<std::unique_ptr<Node>>& children)
{
    std::vector<std::unique_ptr<Node>> doomed = std::move(children);
    children.clear();
    for (size_t i = 0; i < doomed.size(); ++i) {
        auto& grandChildren = doomed[i]->children;
        for (auto& child : grandChildren)
            doomed.push_back(std::move(child));
        grandChildren.clear();
    }
}

MemoryTree::MemoryTree()
    : m_root(std::make_unique<Node>())
{
}

MemoryTree::~MemoryTree() { releaseChildren(m_root->children); }

MemoryTree::Node* MemoryTree::node(TreeItem item) const { return reinterpret_cast<Node*>(item); }

MemoryTree::Node* MemoryTree::container(TreeItem parent) const
{
    return parent ? node(parent) : m_root.get();
}

TreeItem MemoryTree::insertAt(const QString& text, int image, TreeItem parent, size_t index)
{
    Node* owner = container(parent);
    auto child = std::make_unique<Node>();
    child->text = text;
    child->image = image;
    child->parent = owner;
    Node* raw = child.get();
    index = std::min(index, owner->children.size());
    raw->indexHint = index;
    owner->children.insert(owner->children.begin() + std::ptrdiff_t(index), std::move(child));
    return reinterpret_cast<TreeItem>(raw);
}

TreeItem MemoryTree::InsertItem(const QString& text, int image, TreeItem parent)
{
    return insertAt(text, image, parent, container(parent)->children.size());
}

TreeItem MemoryTree::InsertItemAfter(const QString& text, int image, TreeItem parent,
                                     TreeItem after)
{
    if (!after)
        return insertAt(text, image, parent, 0);
    if (node(after)->parent != container(parent))
        return nullptr;
    return insertAt(text, image, parent, node(after)->indexInParent() + 1);
}

bool MemoryTree::DeleteItem(TreeItem item)
{
    if (!item)
        return false;
    Node* doomed = node(item);
    for (Node* n = node(m_selected); n; n = n->parent) {
        if (n == doomed) {
            m_selected = nullptr;
            break;
        }
    }
    releaseChildren(doomed->children);
    auto& siblings = doomed->parent->children;
    siblings.erase(siblings.begin() + std::ptrdiff_t(doomed->indexInParent()));
    return true;
}

void MemoryTree::DeleteAllItems()
{
    releaseChildren(m_root->children);
    m_selected = nullptr;
}

TreeItem MemoryTree::GetRootItem() const
{
    return m_root->children.empty() ? nullptr
                                    : reinterpret_cast<TreeItem>(m_root->children.front().get());
}

TreeItem MemoryTree::GetChildItem(TreeItem item) const
{
    if (!item)
        return GetRootItem();
    const Node* n = node(item);
    return n->children.empty() ? nullptr : reinterpret_cast<TreeItem>(n->children.front().get());
}

TreeItem MemoryTree::GetNextSiblingItem(TreeItem item) const
{
    if (!item)
        return nullptr;
    const Node* n = node(item);
    const size_t next = n->indexInParent() + 1;
    return next < n->parent->children.size()
        ? reinterpret_cast<TreeItem>(n->parent->children[next].get())
        : nullptr;
}

TreeItem MemoryTree::GetPrevSiblingItem(TreeItem item) const
{
    if (!item)
        return nullptr;
    const Node* n = node(item);
    const size_t index = n->indexInParent();
    return index > 0 ? reinterpret_cast<TreeItem>(n->parent->children[index - 1].get()) : nullptr;
}

TreeItem MemoryTree::GetParentItem(TreeItem item) const
{
    if (!item || node(item)->parent == m_root.get())
        return nullptr;
    return reinterpret_cast<TreeItem>(node(item)->parent);
}

QString MemoryTree::GetItemText(TreeItem item) const { return item ? node(item)->text : QString(); }
void MemoryTree::SetItemText(TreeItem item, const QString& text)
{
    if (item)
        node(item)->text = text;
}
int MemoryTree::GetItemImage(TreeItem item) const { return item ? node(item)->image : -1; }
void MemoryTree::SetItemImage(TreeItem item, int image)
{
    if (item)
        node(item)->image = image;
}
quintptr MemoryTree::GetItemData(TreeItem item) const { return item ? node(item)->data : 0; }
void MemoryTree::SetItemData(TreeItem item, quintptr data)
{
    if (item)
        node(item)->data = data;
}
QString MemoryTree::GetItemCaption(TreeItem item) const { return item ? node(item)->caption : QString(); }
void MemoryTree::SetItemCaption(TreeItem item, const QString& caption)
{
    if (item)
        node(item)->caption = caption;
}

TreeItem MemoryTree::GetSelectedItem() const { return m_selected; }
void MemoryTree::SelectItem(TreeItem item) { m_selected = item; }
void MemoryTree::Expand(TreeItem item)
{
    if (item)
        node(item)->expanded = true;
}
bool MemoryTree::IsExpanded(TreeItem item) const { return item && node(item)->expanded; }

void MemoryTree::EnsureVisible(TreeItem item)
{
    for (TreeItem parent = GetParentItem(item); parent; parent = GetParentItem(parent))
        Expand(parent);
}

} // namespace platform
