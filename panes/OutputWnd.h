#pragma once
// "출력": a pane with an empty flat tab strip at the bottom. Nothing writes to it yet.
#include <QWidget>

class QTabBar;

class COutputWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTabsId = 1;

    explicit COutputWnd(QWidget* parent = nullptr);

    QTabBar* Tabs() const { return m_pTabs; }

private:
    QTabBar* m_pTabs = nullptr;
};
