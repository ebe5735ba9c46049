#pragma once
// The properties pane's toolbar (resource 356): add and delete an additional item. Its
// commands go to the pane that owns it.
#include <QToolBar>

class CPropertiesToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CPropertiesToolBar(QWidget* parent = nullptr);

    QAction* CommandAction(int id) const;

signals:
    void commandTriggered(int id);
};
