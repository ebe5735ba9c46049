#pragma once
// The main window's keys: every key of the command table runs its command through the
// frame's dispatcher, from anywhere in the window. The chapter's editing widget would keep
// the clipboard and undo keys for itself; here they reach the dispatcher instead, so the
// chapter gets them as the commands the ribbon runs. Other fields (a label being renamed,
// a value of the publication grid) keep their own editing keys.
#include <QHash>
#include <QObject>

#include <functional>

class QShortcut;
class QWidget;

class CAccelerators : public QObject {
public:
    // `chapter` names the widget that holds the open chapter, or null without one.
    CAccelerators(QWidget& window, std::function<void(int)> dispatch, std::function<QWidget*()> chapter);

    // A disabled command's keys do nothing, and the focused field gets them.
    void SetEnabled(int id, bool enabled);
    bool IsEnabled(int id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QWidget*()> m_chapter;
    QHash<int, QList<QShortcut*>> m_shortcuts;
};
