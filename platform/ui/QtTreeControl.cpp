#include "platform/ui/QtTreeControl.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace platform {
namespace {
constexpr int kImageRole = Qt::UserRole;
constexpr int kDataRole = Qt::UserRole + 1;
constexpr int kTextRole = Qt::UserRole + 2;
constexpr int kCaptionRole = Qt::UserRole + 3;
} // namespace

// Gives the label editor to the control, which reads it when the edit ends.
class QtTreeControl::LabelDelegate : public QStyledItemDelegate {
public:
    explicit LabelDelegate(QtTreeControl* owner)
        : QStyledItemDelegate(owner)
        , m_owner(owner)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        m_owner->m_labelEditor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(index.data(kTextRole).toString());
    }

private:
    QtTreeControl* m_owner;
};

class QtTreeControl::Quiet {
public:
    explicit Quiet(QtTreeControl& tree) : m_tree(tree) { ++m_tree.m_nQuiet; }
    ~Quiet() { --m_tree.m_nQuiet; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    QtTreeControl& m_tree;
};

QtTreeControl::QtTreeControl(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // labels are edited only on request
    setItemDelegate(new LabelDelegate(this));
    // The selection stays visible while another window has the focus.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_nQuiet == 0)
            emit itemSelected(GetSelectedItem());
    });
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
    item->setData(0, kTextRole, text);
    item->setData(0, kImageRole, image);
    item->setData(0, kDataRole, QVariant::fromValue<qulonglong>(0));
    item->setIcon(0, iconFor(image));
    return item;
}

TreeItem QtTreeControl::InsertItem(const QString& text, int image, TreeItem parent)
{
    Quiet quiet(*this);
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
    Quiet quiet(*this);
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
    Quiet quiet(*this);
    // The view would pass the selection on to a neighbour; nothing is selected instead,
    // as the program did not choose that item.
    bool heldSelection = false;
    for (QTreeWidgetItem* up = toQt(GetSelectedItem()); up && !heldSelection; up = up->parent())
        heldSelection = up == toQt(item);
    delete toQt(item);
    if (heldSelection) {
        clearSelection();
        setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
    } // takes the subtree with it and leaves the widget consistent
    return true;
}

void QtTreeControl::DeleteAllItems()
{
    Quiet quiet(*this);
    clear();
}

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

QString QtTreeControl::GetItemText(TreeItem item) const
{
    return item ? toQt(item)->data(0, kTextRole).toString() : QString();
}

void QtTreeControl::SetItemText(TreeItem item, const QString& text)
{
    if (!item)
        return;
    toQt(item)->setData(0, kTextRole, text);
    showText(toQt(item));
}

QString QtTreeControl::GetItemCaption(TreeItem item) const
{
    return item ? toQt(item)->data(0, kCaptionRole).toString() : QString();
}

void QtTreeControl::SetItemCaption(TreeItem item, const QString& caption)
{
    if (!item)
        return;
    toQt(item)->setData(0, kCaptionRole, caption);
    showText(toQt(item));
}

void QtTreeControl::showText(QTreeWidgetItem* item) const
{
    const QString text = item->data(0, kTextRole).toString();
    const QString caption = item->data(0, kCaptionRole).toString();
    item->setText(0, caption.isEmpty() ? text : caption);
    item->setToolTip(0, caption.isEmpty() ? QString() : text);
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
    // The selection, not the current item: the current item changes after the selection
    // is reported, and focus alone makes an item current without selecting it.
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : fromQt(selected.first());
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

void QtTreeControl::EnsureVisible(TreeItem item)
{
    if (item)
        scrollToItem(toQt(item)); // expands the collapsed ancestors too
}

void QtTreeControl::SetRedraw(bool redraw) { setUpdatesEnabled(redraw); }

TreeItem QtTreeControl::HitTest(const QPoint& viewportPoint) const { return fromQt(itemAt(viewportPoint)); }

QLineEdit* QtTreeControl::EditLabel(TreeItem item)
{
    if (!m_bLabelEditing || !item)
        return nullptr;
    QTreeWidgetItem* edited = toQt(item);
    edited->setFlags(edited->flags() | Qt::ItemIsEditable);
    m_editedIndex = indexFromItem(edited);
    m_strCommittedLabel.clear();
    m_labelEditor = nullptr;
    editItem(edited);
    if (m_labelEditor)
        m_labelEditor->selectAll();
    return m_labelEditor;
}

QLineEdit* QtTreeControl::GetEditControl() const { return m_labelEditor; }

void QtTreeControl::commitData(QWidget* editor)
{
    if (editor && editor == m_labelEditor) {
        m_strCommittedLabel = m_labelEditor->text(); // read, never written to the item here
        return;
    }
    QTreeWidget::commitData(editor);
}

void QtTreeControl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!editor || editor != m_labelEditor) {
        QTreeWidget::closeEditor(editor, hint);
        return;
    }
    QTreeWidgetItem* edited = itemFromIndex(m_editedIndex);
    if (edited)
        edited->setFlags(edited->flags() & ~Qt::ItemIsEditable);
    const QString text = m_strCommittedLabel;
    m_strCommittedLabel.clear();
    m_editedIndex = QPersistentModelIndex();
    m_labelEditor = nullptr;
    // No hint onwards: Tab must not walk on and select the next item.
    QTreeWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    emit labelEditEnded(fromQt(edited), text);
}

} // namespace platform
