#include "editor/Accelerators.h"

#include "editor/CommandTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

CAccelerators::CAccelerators(QWidget& window, std::function<void(int)> dispatch, std::function<QWidget*()> chapter)
    : QObject(&window)
    , m_chapter(std::move(chapter))
{
    for (const CommandRow& row : CCommandTable::Rows()) {
        for (const QKeySequence& keys : row.keys) {
            auto* shortcut = new QShortcut(keys, &window);
            shortcut->setContext(Qt::WindowShortcut);
            const int id = row.id;
            connect(shortcut, &QShortcut::activated, this, [dispatch, id] { dispatch(id); });
            m_shortcuts[id].append(shortcut);
        }
    }
    qApp->installEventFilter(this);
}

void CAccelerators::SetEnabled(int id, bool enabled)
{
    for (QShortcut* shortcut : m_shortcuts.value(id))
        shortcut->setEnabled(enabled);
}

bool CAccelerators::IsEnabled(int id) const
{
    const QList<QShortcut*> shortcuts = m_shortcuts.value(id);
    return !shortcuts.isEmpty() && shortcuts.first()->isEnabled();
}

bool CAccelerators::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    QWidget* chapter = m_chapter();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!chapter || !widget || (widget != chapter && !chapter->isAncestorOf(widget)))
        return false;
    // Declining the override lets the window's shortcut take the key.
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QList<QShortcut*>& shortcuts : std::as_const(m_shortcuts)) {
        for (const QShortcut* shortcut : shortcuts) {
            if (shortcut->isEnabled() && shortcut->key() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return false;
}
