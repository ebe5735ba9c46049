#include "panes/AttributeDlg.h"

#include "package/MetadataTables.h"
#include "panes/PaneTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kHelpRole = Qt::UserRole + 1;
constexpr int kListWidth = 200;
} // namespace

CAttributeDlg::CAttributeDlg(QWidget* parent)
    : QDialog(parent)
    , m_pList(new QListWidget)
    , m_pHelp(new QLabel)
{
    setObjectName(QStringLiteral("CAttributeDlg"));
    setWindowTitle(panetexts::AttributeDlgCaption());

    m_pList->setObjectName(QStringLiteral("itemList"));
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setMinimumWidth(kListWidth + 2 * m_pList->frameWidth());
    m_pHelp->setObjectName(QStringLiteral("helpLine"));
    m_pHelp->setWordWrap(true);
    m_pHelp->setMinimumHeight(m_pHelp->fontMetrics().lineSpacing() * 2);

    auto* buttons = new QDialogButtonBox;
    QPushButton* add = buttons->addButton(panetexts::Add(), QDialogButtonBox::AcceptRole);
    add->setObjectName(QStringLiteral("addButton"));
    add->setDefault(true);
    QPushButton* cancel = buttons->addButton(panetexts::Cancel(), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CAttributeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAttributeDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addWidget(m_pHelp);
    layout->addWidget(buttons);

    connect(m_pList, &QListWidget::currentRowChanged, this, [this] { ShowHelpOfMark(); });
    connect(m_pList, &QListWidget::itemSelectionChanged, this, [this] { ShowHelpOfMark(); });
}

void CAttributeDlg::showEvent(QShowEvent* event)
{
    // Filled as it opens, so that every opening starts with the full list and nothing chosen.
    if (m_pList->count() == 0) {
        for (const MetadataTables::AdditionalItem& entry : MetadataTables::AdditionalItems()) {
            auto* item = new QListWidgetItem(entry.name, m_pList);
            item->setTextAlignment(Qt::AlignCenter);
            item->setData(kHelpRole, entry.help);
        }
        m_pList->setCurrentRow(-1);
        m_pList->clearSelection();
    }
    QDialog::showEvent(event);
}

int CAttributeDlg::SelectionMark() const
{
    const QListWidgetItem* current = m_pList->currentItem();
    return current && current->isSelected() ? m_pList->row(current) : -1;
}

void CAttributeDlg::ShowHelpOfMark()
{
    const int mark = SelectionMark();
    if (mark >= 0)
        m_pHelp->setText(m_pList->item(mark)->data(kHelpRole).toString());
}

QString CAttributeDlg::HelpLine() const { return m_pHelp->text(); }

void CAttributeDlg::accept()
{
    const int mark = SelectionMark();
    if (mark < 0)
        return; // nothing chosen yet: the picker stays open
    m_strName = m_pList->item(mark)->text();
    m_strHelp = m_pList->item(mark)->data(kHelpRole).toString();
    QDialog::accept();
}
