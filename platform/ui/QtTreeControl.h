#pragma once
#include "platform/controls/TreeControl.h"

#include <QIcon>
#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

class QLineEdit;

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
    // A captioned item shows the caption and tells its text in its tooltip.
    QString GetItemCaption(TreeItem item) const override;
    void SetItemCaption(TreeItem item, const QString& caption) override;

    TreeItem GetSelectedItem() const override;
    void SelectItem(TreeItem item) override;
    void Expand(TreeItem item) override;
    bool IsExpanded(TreeItem item) const override;
    void EnsureVisible(TreeItem item) override;
    void SetRedraw(bool redraw) override;

    // The item under a point of the viewport, or null.
    TreeItem HitTest(const QPoint& viewportPoint) const;

    // In-place label editing. While it is off, EditLabel does nothing. The control never
    // applies an edited label itself: it reports the editor's text through labelEditEnded
    // (empty when the edit was cancelled) and leaves the item as it was.
    void SetLabelEditing(bool on) { m_bLabelEditing = on; }
    bool IsLabelEditing() const { return m_bLabelEditing; }
    QLineEdit* EditLabel(TreeItem item);
    QLineEdit* GetEditControl() const;

    static QTreeWidgetItem* toQt(TreeItem item) { return reinterpret_cast<QTreeWidgetItem*>(item); }
    static TreeItem fromQt(QTreeWidgetItem* item) { return reinterpret_cast<TreeItem>(item); }

signals:
    // Another item became selected, by the user or through SelectItem (null when the
    // selection went away). Inserting and deleting items never reports a selection.
    void itemSelected(platform::TreeItem item);
    void labelEditEnded(platform::TreeItem item, const QString& text);

protected:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    class LabelDelegate;
    // Holds the selection report while the program changes the items.
    class Quiet;

    QTreeWidgetItem* makeItem(const QString& text, int image) const;
    QIcon iconFor(int image) const;
    QTreeWidgetItem* siblingOf(QTreeWidgetItem* item, int step) const;
    void showText(QTreeWidgetItem* item) const;

    QList<QIcon> m_images;
    int m_nQuiet = 0;
    bool m_bLabelEditing = false;
    QPersistentModelIndex m_editedIndex;
    QPointer<QLineEdit> m_labelEditor;
    QString m_strCommittedLabel;
};

} // namespace platform
