#include "platform/ui/PropertyValueDelegate.h"

#include <QComboBox>
#include <QLineEdit>

namespace platform {

QWidget* PropertyValueDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const
{
    if (index.column() != 1)
        return nullptr; // names are fixed
    const QStringList options = index.data(OptionsRole).toStringList();
    if (options.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->setEditable(false); // only the listed values can be chosen
    combo->addItems(options);
    return combo;
}

void PropertyValueDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QString value = index.data(Qt::EditRole).toString();
        // A value outside the list (as a book held it) stays on offer, so that closing the
        // list without a choice, or choosing it again, keeps it.
        if (combo->findText(value) < 0 && !value.isEmpty())
            combo->insertItem(0, value);
        combo->setCurrentIndex(combo->findText(value));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void PropertyValueDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() >= 0)
            model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace platform
