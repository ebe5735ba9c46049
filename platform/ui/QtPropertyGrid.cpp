#include "platform/ui/QtPropertyGrid.h"

#include "platform/ui/PropertyValueDelegate.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace platform {

QtPropertyGrid::QtPropertyGrid(QWidget* parent)
    : QWidget(parent)
    , m_tree(new QTreeWidget)
    , m_description(new QLabel)
{
    m_tree->setColumnCount(2);
    m_tree->header()->hide();
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_tree->header()->setStretchLastSection(true);
    m_tree->setColumnWidth(0, 110);
    m_tree->setRootIsDecorated(true);
    m_tree->setAlternatingRowColors(true);
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_tree->setItemDelegate(new PropertyValueDelegate(m_tree));

    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_description->setMargin(4);
    m_description->setFrameShape(QFrame::StyledPanel);
    m_description->setMinimumHeight(48);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_description);
    splitter->setStretchFactor(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { showDescription(current); });
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (m_settingValue || column != 1 || !item->parent())
            return;
        QTreeWidgetItem* group = item->parent();
        emit valueEdited(m_tree->indexOfTopLevelItem(group), group->indexOfChild(item));
    });
}

void QtPropertyGrid::SetDescriptionVisible(bool visible) { m_description->setVisible(visible); }

QString QtPropertyGrid::descriptionText() const { return m_description->text(); }

void QtPropertyGrid::showDescription(QTreeWidgetItem* item)
{
    if (!item || !item->parent()) {
        m_description->clear();
        return;
    }
    m_description->setText(QStringLiteral("<b>%1</b><br>%2")
                               .arg(item->text(0).toHtmlEscaped(),
                                    item->data(0, PropertyValueDelegate::HelpRole).toString().toHtmlEscaped()));
}

QTreeWidgetItem* QtPropertyGrid::groupItem(int group) const
{
    return group >= 0 && group < m_tree->topLevelItemCount() ? m_tree->topLevelItem(group) : nullptr;
}

QTreeWidgetItem* QtPropertyGrid::rowItem(int group, int row) const
{
    QTreeWidgetItem* owner = groupItem(group);
    return owner && row >= 0 && row < owner->childCount() ? owner->child(row) : nullptr;
}

int QtPropertyGrid::AddGroup(const QString& name)
{
    auto* item = new QTreeWidgetItem(QStringList{name});
    QFont font = item->font(0);
    font.setBold(true);
    item->setFont(0, font);
    item->setFlags(Qt::ItemIsEnabled);
    m_tree->addTopLevelItem(item);
    item->setFirstColumnSpanned(true);
    item->setExpanded(true);
    return m_tree->topLevelItemCount() - 1;
}

int QtPropertyGrid::GetGroupCount() const { return m_tree->topLevelItemCount(); }

QString QtPropertyGrid::GetGroupName(int group) const
{
    QTreeWidgetItem* item = groupItem(group);
    return item ? item->text(0) : QString();
}

void QtPropertyGrid::CollapseGroup(int group)
{
    if (QTreeWidgetItem* item = groupItem(group))
        item->setExpanded(false);
}

void QtPropertyGrid::ExpandGroup(int group)
{
    if (QTreeWidgetItem* item = groupItem(group))
        item->setExpanded(true);
}

bool QtPropertyGrid::IsGroupExpanded(int group) const
{
    QTreeWidgetItem* item = groupItem(group);
    return item && item->isExpanded();
}

int QtPropertyGrid::GetRowCount(int group) const
{
    QTreeWidgetItem* item = groupItem(group);
    return item ? item->childCount() : 0;
}

int QtPropertyGrid::AddRow(int group, const QString& name, const QString& value, const QString& help)
{
    QTreeWidgetItem* owner = groupItem(group);
    if (!owner)
        return -1;
    m_settingValue = true;
    auto* item = new QTreeWidgetItem(QStringList{name, value});
    item->setData(0, PropertyValueDelegate::HelpRole, help);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    owner->addChild(item);
    m_settingValue = false;
    return owner->childCount() - 1;
}

bool QtPropertyGrid::RemoveRow(int group, int row)
{
    QTreeWidgetItem* item = rowItem(group, row);
    if (!item)
        return false;
    delete item;
    return true;
}

QString QtPropertyGrid::GetRowName(int group, int row) const
{
    QTreeWidgetItem* item = rowItem(group, row);
    return item ? item->text(0) : QString();
}

QString QtPropertyGrid::GetRowValue(int group, int row) const
{
    QTreeWidgetItem* item = rowItem(group, row);
    return item ? item->text(1) : QString();
}

void QtPropertyGrid::SetRowValue(int group, int row, const QString& value)
{
    if (QTreeWidgetItem* item = rowItem(group, row)) {
        m_settingValue = true;
        item->setText(1, value);
        m_settingValue = false;
    }
}

QString QtPropertyGrid::GetRowHelp(int group, int row) const
{
    QTreeWidgetItem* item = rowItem(group, row);
    return item ? item->data(0, PropertyValueDelegate::HelpRole).toString() : QString();
}

QStringList QtPropertyGrid::GetRowOptions(int group, int row) const
{
    QTreeWidgetItem* item = rowItem(group, row);
    return item ? item->data(1, PropertyValueDelegate::OptionsRole).toStringList() : QStringList();
}

void QtPropertyGrid::SetRowOptions(int group, int row, const QStringList& options)
{
    if (QTreeWidgetItem* item = rowItem(group, row)) {
        m_settingValue = true;
        item->setData(1, PropertyValueDelegate::OptionsRole, options);
        m_settingValue = false;
    }
}

int QtPropertyGrid::GetSelectedGroup() const
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || !item->isSelected() || !item->parent())
        return -1;
    return m_tree->indexOfTopLevelItem(item->parent());
}

int QtPropertyGrid::GetSelectedRow() const
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || !item->isSelected() || !item->parent())
        return -1;
    return item->parent()->indexOfChild(item);
}

void QtPropertyGrid::SelectRow(int group, int row)
{
    QTreeWidgetItem* item = rowItem(group, row);
    m_tree->setCurrentItem(item);
    if (item)
        item->setSelected(true);
    else
        m_tree->clearSelection();
}

void QtPropertyGrid::RemoveAll()
{
    m_tree->clear();
    m_description->clear();
}

void QtPropertyGrid::Redraw() { m_tree->viewport()->update(); }

} // namespace platform
