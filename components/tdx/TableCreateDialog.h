#pragma once
// Asks for the rows and columns of a new table.
#include <QDialog>

class QSpinBox;

namespace tdx {

class TableCreateDialog : public QDialog {
public:
    explicit TableCreateDialog(QWidget* parent);

    int rows() const;
    int columns() const;

private:
    QSpinBox* m_rows;
    QSpinBox* m_columns;
};

} // namespace tdx
