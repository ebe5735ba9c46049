#pragma once
#include <QHash>
#include <QWidget>

class QAction;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace platform {

// A plain stand-in for the framework's ribbon: an application button with its menu and a
// recent-file list, and tabs of panels holding command buttons. Every command id has one
// action, wherever it is placed, so its label, tool tip and enable state agree everywhere.
class RibbonBar : public QWidget {
    Q_OBJECT
public:
    explicit RibbonBar(QWidget* parent = nullptr);

    // Declares a command; later placements of the id reuse it.
    QAction* addCommand(int id, const QString& label, const QString& toolTip, const QIcon& icon = {});
    QAction* command(int id) const { return m_commands.value(id); }
    void setCommandEnabled(int id, bool enabled);

    void setApplicationButton(const QString& text);
    void addApplicationMenuCommand(int id, const QString& labelOverride = {});
    void addApplicationMenuSeparator();
    void setRecentFilesCaption(const QString& caption);
    void setRecentFiles(const QStringList& paths);

    int addCategory(const QString& name);   // returns the tab's index
    int addPanel(int category, const QString& name); // returns the panel's index in its tab
    void addButton(int category, int panel, int id, const QString& labelOverride = {});

    int categoryCount() const;
    QString categoryName(int category) const;
    QList<int> panelCommands(int category, int panel) const;
    QMenu* applicationMenu() const { return m_appMenu; }

signals:
    void commandTriggered(int id);
    void recentFileChosen(const QString& path);

private:
    QToolBar* panel(int category, int index) const;

    QToolButton* m_appButton;
    QMenu* m_appMenu;
    QMenu* m_recentMenu;
    QTabWidget* m_tabs;
    QHash<int, QAction*> m_commands;
};

} // namespace platform
