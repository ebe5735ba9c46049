#include "platform/ui/QtTreeControl.h"

#include <QHeaderView>

namespace platform {
namespace {
constexpr int kImageRole = Qt::UserRole;
constexpr int kDataRole = Qt::UserRole + 1;
} // namespace

QtTreeControl::QtTreeControl(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { emit itemSelected(fromQt(current)); });
}

void QtTreeControl::SetImageList(const QList<QIcon>& images)
{
    m_images = images;
    QTreeWidgetItemIterator it(this);
    for (; *it; ++it)
        (*it)->setIcon(0, iconFor((*it)->data(0, kImageRole).toInt()));
}

void QtTreeControl::SetItemBold(TreeItem item, bool bold)
{
    if (!item)
        return;
    QFont font = toQt(item)->font(0);
    font.setBold(bold);
    toQt(item)->setFont(0, font);
}

QIcon QtTreeControl::iconFor(int image) const
{
    return image >= 0 && image < m_images.size() ? m_images.at(image) : QIcon();
}

QTreeWidgetItem* QtTreeControl::makeItem(const QString& text, int image) const
{
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kImageRole, image);
    item->setData(0, kDataRole, QVariant::fromValue<qulonglong>(0));
    item->setIcon(0, iconFor(image));
    return item;
}

TreeItem QtTreeControl::InsertItem(const QString& text, int image, TreeItem parent)
{
    QTreeWidgetItem* item = makeItem(text, image);
    if (parent)
        toQt(parent)->addChild(item);
    else
        addTopLevelItem(item);
    return fromQt(item);
}

TreeItem QtTreeControl::InsertItemAfter(const QString& text, int image, TreeItem parent,
                                        TreeItem after)
{
    QTreeWidgetItem* owner = toQt(parent);
    int index = 0;
    if (after) {
        QTreeWidgetItem* sibling = toQt(after);
        if (sibling->parent() != owner || (!owner && indexOfTopLevelItem(sibling) < 0))
            return nullptr;
        index = (owner ? owner->indexOfChild(sibling) : indexOfTopLevelItem(sibling)) + 1;
    }
    QTreeWidgetItem* item = makeItem(text, image);
    if (owner)
        owner->insertChild(index, item);
    else
        insertTopLevelItem(index, item);
    return fromQt(item);
}

bool QtTreeControl::DeleteItem(TreeItem item)
{
    if (!item)
        return false;
    delete toQt(item); // takes the subtree with it and leaves the widget consistent
    return true;
}

void QtTreeControl::DeleteAllItems() { clear(); }

TreeItem QtTreeControl::GetRootItem() const { return fromQt(topLevelItem(0)); }

TreeItem QtTreeControl::GetChildItem(TreeItem item) const
{
    if (!item)
        return GetRootItem();
    return fromQt(toQt(item)->child(0));
}

QTreeWidgetItem* QtTreeControl::siblingOf(QTreeWidgetItem* item, int step) const
{
    if (!item)
        return nullptr;
    if (QTreeWidgetItem* parent = item->parent())
        return parent->child(parent->indexOfChild(item) + step);
    const int index = indexOfTopLevelItem(item) + step;
    return index >= 0 ? topLevelItem(index) : nullptr;
}

TreeItem QtTreeControl::GetNextSiblingItem(TreeItem item) const { return fromQt(siblingOf(toQt(item), 1)); }
TreeItem QtTreeControl::GetPrevSiblingItem(TreeItem item) const { return fromQt(siblingOf(toQt(item), -1)); }

TreeItem QtTreeControl::GetParentItem(TreeItem item) const
{
    return item ? fromQt(toQt(item)->parent()) : nullptr;
}

QString QtTreeControl::GetItemText(TreeItem item) const { return item ? toQt(item)->text(0) : QString(); }

void QtTreeControl::SetItemText(TreeItem item, const QString& text)
{
    if (item)
        toQt(item)->setText(0, text);
}

int QtTreeControl::GetItemImage(TreeItem item) const
{
    return item ? toQt(item)->data(0, kImageRole).toInt() : -1;
}

void QtTreeControl::SetItemImage(TreeItem item, int image)
{
    if (!item)
        return;
    toQt(item)->setData(0, kImageRole, image);
    toQt(item)->setIcon(0, iconFor(image));
}

quintptr QtTreeControl::GetItemData(TreeItem item) const
{
    return item ? quintptr(toQt(item)->data(0, kDataRole).toULongLong()) : 0;
}

void QtTreeControl::SetItemData(TreeItem item, quintptr data)
{
    if (item)
        toQt(item)->setData(0, kDataRole, QVariant::fromValue<qulonglong>(data));
}

TreeItem QtTreeControl::GetSelectedItem() const
{
    QTreeWidgetItem* current = currentItem();
    return current && current->isSelected() ? fromQt(current) : nullptr;
}

void QtTreeControl::SelectItem(TreeItem item)
{
    if (!item) {
        setCurrentItem(nullptr);
        clearSelection();
        return;
    }
    setCurrentItem(toQt(item));
    toQt(item)->setSelected(true);
}

void QtTreeControl::Expand(TreeItem item)
{
    if (item)
        toQt(item)->setExpanded(true);
}

bool QtTreeControl::IsExpanded(TreeItem item) const { return item && toQt(item)->isExpanded(); }

} // namespace platform
