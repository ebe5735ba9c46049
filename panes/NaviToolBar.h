#pragma once
// The toolbar of the navigation and spine panes (resource 339): six buttons whose commands
// go to the pane that owns the bar. A button is enabled only where its pane handles it.
#include <QHash>
#include <QToolBar>

class QAction;

class CNaviToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CNaviToolBar(QWidget* parent = nullptr);

    void SetCommandEnabled(int id, bool enabled);
    QAction* CommandAction(int id) const { return m_actions.value(id); }

signals:
    void commandTriggered(int id);

private:
    QHash<int, QAction*> m_actions;
};
