#pragma once
// The frame every tree pane shares: an optional toolbar on top at its natural height, the
// tree below it inset by one pixel with a one-pixel frame in the button-shadow colour, and
// the keyboard focus passed on to the tree.
#include <QWidget>

namespace platform { class QtTreeControl; }
class CNaviToolBar;

class CTreePane : public QWidget {
    Q_OBJECT
public:
    // Builds the tree with the pane trees' styles and a bold placeholder item.
    CTreePane(const QList<QIcon>& images, const QString& placeholder, bool withToolBar, QWidget* parent);

    platform::QtTreeControl* Tree() const { return m_tree; }
    CNaviToolBar* ToolBar() const { return m_toolBar; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::QtTreeControl* m_tree = nullptr;
    CNaviToolBar* m_toolBar = nullptr;
};
