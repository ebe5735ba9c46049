#include "components/tdx/EquationDialog.h"

#include "components/tdx/DialogButtons.h"
#include "components/tdx/DialogHooks.h"
#include "components/tdx/Equation.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QVBoxLayout>

namespace tdx {

EquationDialog::EquationDialog(QWidget* parent, const QString& source)
    : QDialog(parent), m_source(new QLineEdit(source, this)), m_preview(new QLabel(this))
{
    setObjectName(QStringLiteral("EquationDialog"));
    setWindowTitle(QStringLiteral("수식 만들기"));
    m_source->setObjectName(QStringLiteral("source"));
    m_source->setPlaceholderText(QStringLiteral("예: x^2 + y_1 = frac{a}{b} + sqrt{c}"));
    m_preview->setMinimumHeight(60);
    m_preview->setAlignment(Qt::AlignCenter);
    connect(m_source, &QLineEdit::textChanged, this, &EquationDialog::showPreview);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("수식:"), this));
    layout->addWidget(m_source);
    layout->addWidget(m_preview);
    layout->addWidget(okCancelButtons(*this));
    showPreview();
}

QString EquationDialog::source() const { return m_source->text().trimmed(); }

void EquationDialog::accept()
{
    if (source().isEmpty()) {
        showMessage(this, QStringLiteral("수식을 입력하십시오."));
        return;
    }
    QDialog::accept();
}

void EquationDialog::showPreview()
{
    m_preview->setPixmap(QPixmap::fromImage(renderEquation(source())));
}

} // namespace tdx
