#pragma once
#include <QStyledItemDelegate>

namespace platform {

// Edits a property value (names stay fixed): a combo box without free typing when the row has fixed
// choices (and the row's own value, when it is not one of them), a line edit otherwise.
class PropertyValueDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    enum Role { HelpRole = Qt::UserRole + 10, OptionsRole };

    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};

} // namespace platform
