#include "panes/PropertiesWnd.h"

#include "panes/AttributeDlg.h"
#include "panes/MetadataGridBuilder.h"
#include "panes/PaneCommandIds.h"
#include "panes/PaneHost.h"
#include "panes/PaneTexts.h"
#include "panes/PropertiesToolBar.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"
#include "platform/ui/QtPropertyGrid.h"

#include <QApplication>
#include <QEvent>
#include <QVBoxLayout>

CPropertiesWnd::CPropertiesWnd(CPaneHost& host, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
    , m_pToolBar(new CPropertiesToolBar)
    , m_pGrid(new platform::QtPropertyGrid)
{
    m_pGrid->SetDescriptionVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);
    setFocusProxy(m_pGrid);
    UseMessageFont();

    connect(m_pToolBar, &CPropertiesToolBar::commandTriggered, this, &CPropertiesWnd::OnCommand);
    connect(m_pGrid, &platform::QtPropertyGrid::valueEdited, this, [this] { m_host.OnMetadataEdited(); });
}

void CPropertiesWnd::ResetGrid() { CMetadataGridBuilder::ResetGrid(*m_pGrid); }

void CPropertiesWnd::OnCommand(int id)
{
    if (id == panecmd::AddAttributeButton)
        OnAddItem();
    else if (id == panecmd::DeleteAttributeButton)
        OnDeleteItem();
}

void CPropertiesWnd::OnAddItem()
{
    CAttributeDlg dialog(this);
    if (platform::RunModalDialog(dialog) != QDialog::Accepted)
        return;
    if (CMetadataGridBuilder::AddAdditionalItem(*m_pGrid, dialog.GetName(), dialog.GetHelp()))
        m_host.OnMetadataEdited();
}

void CPropertiesWnd::OnDeleteItem()
{
    const int group = m_pGrid->GetSelectedGroup();
    const int row = m_pGrid->GetSelectedRow();
    if (group == CMetadataGridBuilder::GROUP_REQUIRED) {
        platform::ShowMessage(panetexts::RequiredItemUndeletable(), m_host.GetAppTitle(),
                              platform::MessageButtons::Ok, platform::MessageIcon::None, this);
        return;
    }
    if (group != CMetadataGridBuilder::GROUP_ADDITIONAL || row < 0)
        return;
    const QString question = panetexts::DeleteAttributeQuestion().arg(m_pGrid->GetRowName(group, row));
    if (platform::ShowMessage(question, m_host.GetAppTitle(), platform::MessageButtons::YesNo,
                              platform::MessageIcon::None, this)
        != platform::MessageResult::Yes)
        return;
    m_pGrid->RemoveRow(group, row);
    m_pGrid->Redraw();
    m_host.OnMetadataEdited();
}

bool CPropertiesWnd::event(QEvent* event)
{
    // The system's fonts changed: the grid follows the message font.
    if (event->type() == QEvent::ApplicationFontChange || event->type() == QEvent::ThemeChange)
        UseMessageFont();
    return QWidget::event(event);
}

void CPropertiesWnd::UseMessageFont() { m_pGrid->setFont(QApplication::font("QMessageBox")); }
