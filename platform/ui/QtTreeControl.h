#pragma once
#include "platform/controls/TreeControl.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>

// Items travel in signals as opaque handles.
Q_DECLARE_OPAQUE_POINTER(platform::TreeItem)

namespace platform {

// The pane tree on screen: a QTreeWidget answering the TreeControl interface, so the
// package model fills the very widget the user sees.
class QtTreeControl : public QTreeWidget, public TreeControl {
    Q_OBJECT
public:
    explicit QtTreeControl(QWidget* parent = nullptr);

    // Icons indexed by the items' image numbers; missing indexes show no icon.
    void SetImageList(const QList<QIcon>& images);
    void SetItemBold(TreeItem item, bool bold);

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

    TreeItem GetSelectedItem() const override;
    void SelectItem(TreeItem item) override;
    void Expand(TreeItem item) override;
    bool IsExpanded(TreeItem item) const override;

    static QTreeWidgetItem* toQt(TreeItem item) { return reinterpret_cast<QTreeWidgetItem*>(item); }
    static TreeItem fromQt(QTreeWidgetItem* item) { return reinterpret_cast<TreeItem>(item); }

signals:
    // The user or the program selected another item (null when the selection went away).
    void itemSelected(platform::TreeItem item);

private:
    QTreeWidgetItem* makeItem(const QString& text, int image) const;
    QIcon iconFor(int image) const;
    QTreeWidgetItem* siblingOf(QTreeWidgetItem* item, int step) const;

    QList<QIcon> m_images;
};

} // namespace platform
