#include "platform/ui/RibbonBar.h"

#include "platform/ui/RibbonApplicationMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

namespace {

constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
constexpr int kSmallPerColumn = 3;

QString keysText(const QList<QKeySequence>& keys)
{
    QStringList names;
    for (const QKeySequence& key : keys)
        names << key.toString(QKeySequence::NativeText);
    return names.join(QStringLiteral(", "));
}

// Buttons answer a key tip as a click would, once the key event is over.
void clickLater(QToolButton* button)
{
    QTimer::singleShot(0, button, [button] {
        if (button->isEnabled())
            button->click();
    });
}

} // namespace

RibbonBar::RibbonBar(QWidget* parent)
    : QWidget(parent)
    , m_appMenu(new RibbonApplicationMenu(this))
    , m_appButton(new QToolButton)
    , m_tabs(new QTabBar)
    , m_tabRowEnd(new QHBoxLayout)
    , m_pages(new QStackedWidget)
{
    setObjectName(QStringLiteral("RibbonBar"));
    m_appButton->setObjectName(QStringLiteral("RibbonAppButton"));
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setMenu(m_appMenu);
    m_appButton->setFixedSize(45, 45);
    m_appButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
    connect(m_appMenu, &RibbonApplicationMenu::recentFileChosen, this, &RibbonBar::recentFileChosen);

    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(0, 0, 0, 0);
    tabRow->addWidget(m_tabs, 0, Qt::AlignBottom);
    tabRow->addStretch(1);
    m_tabRowEnd->setSpacing(2);
    tabRow->addLayout(m_tabRowEnd);
    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addLayout(tabRow);
    right->addWidget(m_pages);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(m_appButton, 0, Qt::AlignTop);
    layout->addLayout(right, 1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_StyledBackground);

    setColors({QColor(0xdf, 0xe9, 0xf5), QColor(0xf3, 0xf7, 0xfc), QColor(0x9a, 0xb4, 0xd6),
               QColor(0xc2, 0xd5, 0xec), QColor(0x15, 0x42, 0x8b), QColor(0x2b, 0x5b, 0xa8), Qt::white});
    qApp->installEventFilter(this);
}

RibbonBar::~RibbonBar() { m_keyTips.hide(); }

QAction* RibbonBar::addCommand(int id, const QString& label, const QString& toolTip, const QIcon& icon,
                               const QList<QKeySequence>& keys)
{
    if (QAction* existing = m_commands.value(id))
        return existing;
    auto* action = new QAction(icon, label, this);
    const QString named = keys.isEmpty() ? toolTip : QStringLiteral("%1 (%2)").arg(toolTip, keysText(keys));
    action->setToolTip(named);
    action->setStatusTip(toolTip);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
    m_commands.insert(id, action);
    m_toolTips.insert(id, toolTip);
    return action;
}

void RibbonBar::setCommandEnabled(int id, bool enabled)
{
    if (QAction* action = m_commands.value(id))
        action->setEnabled(enabled);
}

bool RibbonBar::isCommandEnabled(int id) const
{
    const QAction* action = m_commands.value(id);
    return action && action->isEnabled();
}

void RibbonBar::setCommandChecked(int id, bool checked)
{
    if (QAction* action = m_commands.value(id)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

QAction* RibbonBar::placedAction(int id, const QString& labelOverride, QObject* owner)
{
    QAction* shared = m_commands.value(id);
    if (!shared || labelOverride.isEmpty())
        return shared;
    // A different label in this one place: a proxy that follows the shared action's state.
    auto* proxy = new QAction(shared->icon(), labelOverride, owner);
    proxy->setToolTip(shared->toolTip());
    proxy->setData(id);
    proxy->setEnabled(shared->isEnabled());
    connect(shared, &QAction::changed, proxy, [shared, proxy] { proxy->setEnabled(shared->isEnabled()); });
    connect(proxy, &QAction::triggered, shared, &QAction::trigger);
    return proxy;
}

void RibbonBar::setApplicationButton(const QString& text, const QString& keyTip)
{
    m_appButton->setText(text);
    m_appKeyTip = keyTip;
}

void RibbonBar::addApplicationMenuCommand(int id, const QString& labelOverride)
{
    if (QAction* action = placedAction(id, labelOverride, m_appMenu))
        m_appMenu->addEntry(action);
}

void RibbonBar::addApplicationMenuSeparator() { m_appMenu->addEntrySeparator(); }

void RibbonBar::setRecentFilesCaption(const QString& caption, int width) { m_appMenu->setRecentCaption(caption, width); }

void RibbonBar::setRecentFiles(const QStringList& paths) { m_appMenu->setRecentFiles(paths); }

void RibbonBar::setApplicationMenuBottomCommand(int id, const QString& labelOverride)
{
    if (QAction* action = placedAction(id, labelOverride, m_appMenu))
        m_appMenu->setBottomEntry(action);
}

int RibbonBar::addCategory(const QString& name, const QString& keyTip)
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addStretch(1);
    m_pages->addWidget(page);
    const int index = m_tabs->addTab(name);
    m_categories.append({page, keyTip.isEmpty() ? QString::number(index + 1) : keyTip, {}});
    return index;
}

int RibbonBar::addPanel(int category, const QString& name)
{
    if (category < 0 || category >= m_categories.size())
        return -1;
    Category& tab = m_categories[category];
    auto* box = new QFrame;
    box->setObjectName(QStringLiteral("RibbonPanel"));
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(1, 1, 1, 0);
    boxLayout->setSpacing(0);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(1);
    boxLayout->addLayout(columns, 1);
    auto* caption = new QLabel(name);
    caption->setObjectName(QStringLiteral("RibbonPanelCaption"));
    caption->setAlignment(Qt::AlignHCenter);
    boxLayout->addWidget(caption);
    auto* layout = static_cast<QHBoxLayout*>(tab.page->layout());
    layout->insertWidget(layout->count() - 1, box); // before the closing stretch
    tab.panels.append({name, box, columns, {}, 0});
    return int(tab.panels.size()) - 1;
}

QToolButton* RibbonBar::makeButton(QAction* action, ButtonSize size)
{
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    if (size == ButtonSize::Large) {
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(QSize(kLargeIcon, kLargeIcon));
        button->setMinimumWidth(52);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    } else {
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(kSmallIcon, kSmallIcon));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    button->setProperty("ribbonSize", size == ButtonSize::Large ? 0 : 1);
    return button;
}

void RibbonBar::addButton(int category, int panelIndex, int id, ButtonSize size, const QString& labelOverride)
{
    if (category < 0 || category >= m_categories.size())
        return;
    QList<Panel>& panels = m_categories[category].panels;
    if (panelIndex < 0 || panelIndex >= panels.size())
        return;
    Panel& panel = panels[panelIndex];
    QAction* action = placedAction(id, labelOverride, panel.box);
    if (!action)
        return;
    QToolButton* button = makeButton(action, size);
    if (size == ButtonSize::Large || panel.smallInColumn == 0 || panel.smallInColumn >= kSmallPerColumn) {
        auto* column = new QVBoxLayout;
        column->setSpacing(0);
        column->addWidget(button);
        if (size == ButtonSize::Small)
            column->addStretch(1);
        panel.columns->addLayout(column);
        panel.smallInColumn = size == ButtonSize::Small ? 1 : 0;
    } else {
        auto* column = static_cast<QVBoxLayout*>(panel.columns->itemAt(panel.columns->count() - 1)->layout());
        column->insertWidget(column->count() - 1, button); // above the column's stretch
        ++panel.smallInColumn;
    }
    panel.buttons.append(button);
    m_buttonIds.insert(button, id);
}

void RibbonBar::addTabRowButton(int id, const QString& keyTip)
{
    QAction* action = m_commands.value(id);
    if (!action)
        return;
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(kSmallIcon, kSmallIcon));
    button->setAutoRaise(true);
    m_tabRowEnd->addWidget(button);
    m_tabRowButtons.append({button, keyTip});
    m_buttonIds.insert(button, id);
}

void RibbonBar::addTabRowChoice(const QString& text, const QString& keyTip, const QList<int>& ids)
{
    auto* button = new QToolButton;
    button->setText(text);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setAutoRaise(true);
    auto* menu = new QMenu(button);
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (int id : ids) {
        if (QAction* action = m_commands.value(id)) {
            action->setCheckable(true);
            group->addAction(action);
            menu->addAction(action);
        }
    }
    button->setMenu(menu);
    m_tabRowEnd->insertWidget(0, button);
    m_tabRowButtons.prepend({button, keyTip});
}

void RibbonBar::setColors(const RibbonColors& colors)
{
    m_colors = colors;
    applyColors();
}

void RibbonBar::applyColors()
{
    // The style sheet draws everything, the bar's own background included: a palette set
    // beside a style sheet does not survive its polish.
    const QString sheet = QStringLiteral(
        "#RibbonBar { background: %7; }"
        "QFrame#RibbonPanel { background: %1; border: 1px solid %2; border-radius: 3px; }"
        "QLabel#RibbonPanelCaption { background: %3; color: %4; border: none; border-top: 1px solid %2; padding: 1px 4px; }"
        "QFrame#RibbonPanel QToolButton { color: %4; background: transparent; border: 1px solid transparent; border-radius: 2px; padding: 1px; }"
        "QFrame#RibbonPanel QToolButton:hover { background: %3; border: 1px solid %2; }"
        "QFrame#RibbonPanel QToolButton:disabled { color: #8c8c8c; }"
        "QToolButton#RibbonAppButton { background: %5; color: %6; border: 1px solid %2; border-radius: 22px; font-weight: bold; }"
        "QToolButton#RibbonAppButton::menu-indicator { image: none; }"
        "QTabBar::tab { background: transparent; color: %4; padding: 3px 14px; margin-right: 1px; border: 1px solid transparent; }"
        "QTabBar::tab:selected { background: %1; border: 1px solid %2; border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px; }"
        "QTabBar::tab:hover:!selected { border: 1px solid %2; }")
        .arg(m_colors.panel.name(), m_colors.panelBorder.name(), m_colors.caption.name(), m_colors.text.name(),
             m_colors.applicationButton.name(), m_colors.applicationText.name(), m_colors.background.name());
    setStyleSheet(sheet);
}

int RibbonBar::categoryCount() const { return m_tabs->count(); }
QString RibbonBar::categoryName(int category) const { return m_tabs->tabText(category); }
int RibbonBar::currentCategory() const { return m_tabs->currentIndex(); }
void RibbonBar::setCurrentCategory(int category) { m_tabs->setCurrentIndex(category); }

int RibbonBar::panelCount(int category) const
{
    return category >= 0 && category < m_categories.size() ? int(m_categories.at(category).panels.size()) : 0;
}

QString RibbonBar::panelName(int category, int panel) const
{
    if (panel < 0 || panel >= panelCount(category))
        return {};
    return m_categories.at(category).panels.at(panel).name;
}

QList<int> RibbonBar::panelCommands(int category, int panel) const
{
    QList<int> ids;
    for (const ButtonInfo& button : panelButtons(category, panel))
        ids << button.id;
    return ids;
}

QList<RibbonBar::ButtonInfo> RibbonBar::panelButtons(int category, int panel) const
{
    QList<ButtonInfo> out;
    if (panel < 0 || panel >= panelCount(category))
        return out;
    for (QToolButton* button : m_categories.at(category).panels.at(panel).buttons) {
        const int id = m_buttonIds.value(button);
        QAction* action = button->defaultAction();
        out.append({id, action->text(), m_toolTips.value(id),
                    button->property("ribbonSize").toInt() == 0 ? ButtonSize::Large : ButtonSize::Small,
                    action->isEnabled()});
    }
    return out;
}

void RibbonBar::showTabRowTips()
{
    QList<RibbonKeyTips::Target> targets;
    targets.append({m_appButton, {}, m_appKeyTip, [this] {
                        hideKeyTips();
                        QTimer::singleShot(0, m_appButton, &QToolButton::showMenu);
                    }});
    for (int index = 0; index < m_categories.size(); ++index)
        targets.append({m_tabs, m_tabs->tabRect(index), m_categories.at(index).keyTip, [this, index] {
                            setCurrentCategory(index);
                            showButtonTips();
                        }});
    for (const auto& [button, tip] : m_tabRowButtons)
        targets.append({button, {}, tip, [this, button = button] {
                            hideKeyTips();
                            if (button->menu())
                                QTimer::singleShot(0, button, &QToolButton::showMenu);
                            else
                                clickLater(button);
                        }});
    m_keyTips.show(RibbonKeyTips::Level::TabRow, targets);
}

void RibbonBar::showButtonTips()
{
    QList<QToolButton*> buttons;
    const int category = currentCategory();
    if (category >= 0 && category < m_categories.size())
        for (const Panel& panel : m_categories.at(category).panels)
            buttons += panel.buttons;
    const QStringList tips = RibbonKeyTips::sequence(int(buttons.size()));
    QList<RibbonKeyTips::Target> targets;
    for (int index = 0; index < tips.size(); ++index) {
        QToolButton* button = buttons.at(index);
        targets.append({button, {}, tips.at(index), [this, button] {
                            hideKeyTips();
                            clickLater(button);
                        }});
    }
    m_keyTips.show(RibbonKeyTips::Level::Buttons, targets);
}

void RibbonBar::showKeyTips() { showTabRowTips(); }
void RibbonBar::hideKeyTips() { m_keyTips.hide(); }
QStringList RibbonBar::shownKeyTips() const { return m_keyTips.tips(); }

bool RibbonBar::keyTipKey(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // no shortcut fires while the tips wait for their key
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return true;
    if (key->key() == Qt::Key_Escape) {
        if (m_keyTips.level() == RibbonKeyTips::Level::Buttons)
            showTabRowTips();
        else
            hideKeyTips();
        return true;
    }
    if (const RibbonKeyTips::Target* target = m_keyTips.find(key->text())) {
        const std::function<void()> choose = target->choose; // choosing replaces the targets
        choose();
    }
    return true;
}

bool RibbonBar::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride
        && type != QEvent::MouseButtonPress && type != QEvent::WindowDeactivate)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window())
        return false;
    if (type == QEvent::MouseButtonPress || type == QEvent::WindowDeactivate) {
        m_altPending = false;
        hideKeyTips();
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool altAlone = key->key() == Qt::Key_Alt && !key->isAutoRepeat();
    if (type == QEvent::KeyRelease) {
        if (altAlone && m_altPending) {
            m_altPending = false;
            if (m_keyTips.level() == RibbonKeyTips::Level::None)
                showTabRowTips();
            else
                hideKeyTips();
            return true;
        }
        return false;
    }
    if (altAlone && type == QEvent::KeyPress) {
        m_altPending = (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
        return false;
    }
    if (key->key() != Qt::Key_Alt)
        m_altPending = false;
    if (m_keyTips.level() != RibbonKeyTips::Level::None)
        return keyTipKey(event);
    return false;
}

} // namespace platform
