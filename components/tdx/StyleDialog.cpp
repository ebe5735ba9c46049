#include "components/tdx/StyleDialog.h"

#include "components/tdx/DialogButtons.h"
#include "components/tdx/StyleList.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tdx {

StyleDialog::StyleDialog(QWidget* parent, const StyleList& styles, int current)
    : QDialog(parent), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("StyleDialog"));
    setWindowTitle(QStringLiteral("스타일"));
    m_list->setObjectName(QStringLiteral("styles"));
    for (int i = 0; i < styles.size(); ++i)
        m_list->addItem(styles.at(i).nameLocal);
    m_list->setCurrentRow(current);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("스타일 목록:"), this));
    layout->addWidget(m_list);
    layout->addWidget(okCancelButtons(*this));
}

int StyleDialog::chosen() const { return m_list->currentRow(); }

} // namespace tdx
