#include "panes/NaviToolBar.h"

#include "panes/PaneCommandIds.h"
#include "panes/PaneImages.h"
#include "panes/PaneTexts.h"

#include <QAction>

CNaviToolBar::CNaviToolBar(QWidget* parent)
    : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 15));
    setContentsMargins(0, 0, 0, 0);
    const struct {
        int id;
        QString tip;
    } buttons[] = {
        {panecmd::MoveUp, panetexts::MoveUp()},
        {panecmd::MoveDown, panetexts::MoveDown()},
        {panecmd::Demote, panetexts::Demote()},
        {panecmd::Promote, panetexts::Promote()},
        {panecmd::AddChapterButton, panetexts::AddChapterButton()},
        {panecmd::InsertBookmarkButton, panetexts::InsertBookmarkButton()},
    };
    for (const auto& button : buttons) {
        QAction* action = addAction(PaneImages::ToolBarIcon(button.id), button.tip);
        action->setToolTip(button.tip);
        action->setEnabled(false);
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
        m_actions.insert(id, action);
    }
}

void CNaviToolBar::SetCommandEnabled(int id, bool enabled)
{
    if (QAction* action = m_actions.value(id))
        action->setEnabled(enabled);
}
