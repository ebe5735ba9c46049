#pragma once
#include <QDockWidget>
#include <QIcon>

namespace platform {

// A docking pane with a caption, a numeric id (also its object name, so the frame's layout
// state can be saved and restored) and one content widget.
class DockPane : public QDockWidget {
    Q_OBJECT
public:
    DockPane(const QString& caption, int id, QWidget* content, QWidget* parent = nullptr);

    int paneId() const { return m_id; }
    QIcon paneIcon() const { return m_icon; }
    void setPaneIcon(const QIcon& icon);

private:
    int m_id;
    QIcon m_icon;
};

} // namespace platform
