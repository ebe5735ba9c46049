#include "panes/PropertiesToolBar.h"

#include "panes/PaneCommandIds.h"
#include "panes/PaneImages.h"
#include "panes/PaneTexts.h"

#include <QAction>

CPropertiesToolBar::CPropertiesToolBar(QWidget* parent)
    : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 15));
    const struct {
        int id;
        QString tip;
    } buttons[] = {
        {panecmd::AddAttributeButton, panetexts::AddAttributeButton()},
        {panecmd::DeleteAttributeButton, panetexts::DeleteAttributeButton()},
    };
    for (const auto& button : buttons) {
        QAction* action = addAction(PaneImages::ToolBarIcon(button.id), button.tip);
        action->setToolTip(button.tip);
        action->setData(button.id);
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
    }
}

QAction* CPropertiesToolBar::CommandAction(int id) const
{
    for (QAction* action : actions()) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}
