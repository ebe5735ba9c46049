#include "platform/ui/RibbonBar.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

RibbonBar::RibbonBar(QWidget* parent)
    : QWidget(parent)
    , m_appButton(new QToolButton)
    , m_appMenu(new QMenu(this))
    , m_recentMenu(new QMenu(this))
    , m_tabs(new QTabWidget)
{
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setMenu(m_appMenu);
    m_appButton->setMinimumSize(45, 45);
    m_appButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_tabs->setDocumentMode(true);
    m_tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_appButton, 0, Qt::AlignTop);
    layout->addWidget(m_tabs, 1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QAction* RibbonBar::addCommand(int id, const QString& label, const QString& toolTip, const QIcon& icon)
{
    if (QAction* existing = m_commands.value(id))
        return existing;
    auto* action = new QAction(icon, label, this);
    action->setToolTip(toolTip);
    action->setStatusTip(toolTip);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
    m_commands.insert(id, action);
    return action;
}

void RibbonBar::setCommandEnabled(int id, bool enabled)
{
    if (QAction* action = m_commands.value(id))
        action->setEnabled(enabled);
}

void RibbonBar::setApplicationButton(const QString& text) { m_appButton->setText(text); }

void RibbonBar::addApplicationMenuCommand(int id, const QString& labelOverride)
{
    QAction* shared = m_commands.value(id);
    if (!shared)
        return;
    if (labelOverride.isEmpty()) {
        m_appMenu->addAction(shared);
        return;
    }
    // A different label in this one place: a proxy that follows the shared action's state.
    auto* proxy = m_appMenu->addAction(labelOverride);
    proxy->setEnabled(shared->isEnabled());
    connect(shared, &QAction::changed, proxy, [shared, proxy] { proxy->setEnabled(shared->isEnabled()); });
    connect(proxy, &QAction::triggered, shared, &QAction::trigger);
}

void RibbonBar::addApplicationMenuSeparator() { m_appMenu->addSeparator(); }

void RibbonBar::setRecentFilesCaption(const QString& caption)
{
    m_recentMenu->setTitle(caption);
    if (!m_appMenu->actions().contains(m_recentMenu->menuAction()))
        m_appMenu->addMenu(m_recentMenu);
}

void RibbonBar::setRecentFiles(const QStringList& paths)
{
    m_recentMenu->clear();
    int number = 1;
    for (const QString& path : paths) {
        QAction* entry = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QFileInfo(path).fileName()));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

int RibbonBar::addCategory(const QString& name)
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addStretch(1);
    return m_tabs->addTab(page, name);
}

int RibbonBar::addPanel(int category, const QString& name)
{
    QWidget* page = m_tabs->widget(category);
    if (!page)
        return -1;
    auto* box = new QWidget;
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->setSpacing(0);
    auto* bar = new QToolBar(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    auto* caption = new QLabel(name);
    caption->setAlignment(Qt::AlignHCenter);
    boxLayout->addWidget(bar);
    boxLayout->addWidget(caption);
    auto* layout = static_cast<QHBoxLayout*>(page->layout());
    const int index = layout->count() - 1; // before the closing stretch
    layout->insertWidget(index, box);
    return index;
}

QToolBar* RibbonBar::panel(int category, int index) const
{
    QWidget* page = m_tabs->widget(category);
    if (!page || index < 0 || index >= page->layout()->count() - 1)
        return nullptr;
    QWidget* box = page->layout()->itemAt(index)->widget();
    return box ? box->findChild<QToolBar*>() : nullptr;
}

void RibbonBar::addButton(int category, int panelIndex, int id, const QString& labelOverride)
{
    QToolBar* bar = panel(category, panelIndex);
    QAction* shared = m_commands.value(id);
    if (!bar || !shared)
        return;
    if (labelOverride.isEmpty()) {
        bar->addAction(shared);
        return;
    }
    QAction* proxy = bar->addAction(shared->icon(), labelOverride);
    proxy->setToolTip(shared->toolTip());
    proxy->setData(id);
    proxy->setEnabled(shared->isEnabled());
    connect(shared, &QAction::changed, proxy, [shared, proxy] { proxy->setEnabled(shared->isEnabled()); });
    connect(proxy, &QAction::triggered, shared, &QAction::trigger);
}

int RibbonBar::categoryCount() const { return m_tabs->count(); }

QString RibbonBar::categoryName(int category) const { return m_tabs->tabText(category); }

QList<int> RibbonBar::panelCommands(int category, int index) const
{
    QList<int> ids;
    if (QToolBar* bar = panel(category, index)) {
        for (QAction* action : bar->actions())
            ids.append(action->data().toInt());
    }
    return ids;
}

} // namespace platform
