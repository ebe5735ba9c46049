#include "components/tdx/TableCreateDialog.h"

#include "components/tdx/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tdx {

namespace {

constexpr int kMaxCells = 256; // rows and columns each

QSpinBox* countBox(QWidget* parent, const char* name, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(1, kMaxCells);
    box->setValue(value);
    return box;
}

} // namespace

TableCreateDialog::TableCreateDialog(QWidget* parent)
    : QDialog(parent), m_rows(countBox(this, "rows", 2)), m_columns(countBox(this, "columns", 2))
{
    setObjectName(QStringLiteral("TableCreateDialog"));
    setWindowTitle(QStringLiteral("표 만들기"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("줄 수:"), m_rows);
    form->addRow(QStringLiteral("칸 수:"), m_columns);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(*this));
}

int TableCreateDialog::rows() const { return m_rows->value(); }
int TableCreateDialog::columns() const { return m_columns->value(); }

} // namespace tdx
