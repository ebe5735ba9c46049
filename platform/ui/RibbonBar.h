#pragma once
#include "platform/ui/RibbonKeyTips.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QWidget>

class QAction;
class QActionGroup;
class QHBoxLayout;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace platform {

class RibbonApplicationMenu;

// The colours a ribbon is drawn in; each visual look of the program brings its own.
struct RibbonColors {
    QColor background;    // behind the tab row and the panels
    QColor panel;         // the panels' face
    QColor panelBorder;
    QColor caption;       // the panels' caption strip
    QColor text;
    QColor applicationButton;
    QColor applicationText;
};

// A ribbon in place of a menu bar: an application button with its menu and recent files,
// a row of tabs with an icon-only button at its right end, and per tab panels of large and
// small buttons. Every command id has one action wherever it is placed, so its label, tool
// tip and enable state agree everywhere. Pressing and releasing Alt shows key tips: the
// application button, the tabs and the tab-row buttons first, the buttons of a chosen tab
// next; Esc goes back a level.
class RibbonBar : public QWidget {
    Q_OBJECT
public:
    enum class ButtonSize { Large, Small };

    // What a placed button shows, for checks of the layout.
    struct ButtonInfo {
        int id = 0;
        QString label;
        QString toolTip;   // the command's own tool tip, without the keys
        ButtonSize size = ButtonSize::Large;
        bool enabled = true;
    };

    explicit RibbonBar(QWidget* parent = nullptr);
    ~RibbonBar() override;

    // Declares a command; later placements of the id reuse it. The tool tip shown names the
    // keys, when there are any.
    QAction* addCommand(int id, const QString& label, const QString& toolTip, const QIcon& icon = {},
                        const QList<QKeySequence>& keys = {});
    QAction* command(int id) const { return m_commands.value(id); }
    QString commandToolTip(int id) const { return m_toolTips.value(id); }
    void setCommandEnabled(int id, bool enabled);
    bool isCommandEnabled(int id) const;
    void setCommandChecked(int id, bool checked);

    void setApplicationButton(const QString& text, const QString& keyTip = QStringLiteral("F"));
    void addApplicationMenuCommand(int id, const QString& labelOverride = {});
    void addApplicationMenuSeparator();
    void setRecentFilesCaption(const QString& caption, int width = 300);
    void setRecentFiles(const QStringList& paths);
    // The button at the bottom of the application menu.
    void setApplicationMenuBottomCommand(int id, const QString& labelOverride = {});
    RibbonApplicationMenu& applicationMenu() const { return *m_appMenu; }

    int addCategory(const QString& name, const QString& keyTip = {}); // returns the tab's index
    int addPanel(int category, const QString& name);                   // index within the tab
    void addButton(int category, int panel, int id, ButtonSize size = ButtonSize::Large,
                   const QString& labelOverride = {});
    // An icon-only button at the right end of the tab row.
    void addTabRowButton(int id, const QString& keyTip);
    // A drop-down at the right end of the tab row whose commands are checked one at a time.
    void addTabRowChoice(const QString& text, const QString& keyTip, const QList<int>& ids);

    void setColors(const RibbonColors& colors);
    const RibbonColors& colors() const { return m_colors; }

    int categoryCount() const;
    QString categoryName(int category) const;
    int currentCategory() const;
    void setCurrentCategory(int category);
    int panelCount(int category) const;
    QString panelName(int category, int panel) const;
    QList<int> panelCommands(int category, int panel) const;
    QList<ButtonInfo> panelButtons(int category, int panel) const;

    // Key tips.
    void showKeyTips();
    void hideKeyTips();
    QStringList shownKeyTips() const; // the tips on screen, in placement order

signals:
    void commandTriggered(int id);
    void recentFileChosen(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Panel {
        QString name;
        QWidget* box = nullptr;
        QHBoxLayout* columns = nullptr;
        QList<QToolButton*> buttons;
        int smallInColumn = 0; // small buttons stacked in the last column so far
    };
    struct Category {
        QWidget* page = nullptr;
        QString keyTip;
        QList<Panel> panels;
    };
    QAction* placedAction(int id, const QString& labelOverride, QObject* owner);
    QToolButton* makeButton(QAction* action, ButtonSize size);
    void applyColors();
    void showTabRowTips();
    void showButtonTips();
    // Key tips take the keyboard while they are shown; true when the key was theirs.
    bool keyTipKey(QEvent* event);

    RibbonApplicationMenu* m_appMenu;
    QToolButton* m_appButton;
    QString m_appKeyTip;
    QTabBar* m_tabs;
    QHBoxLayout* m_tabRowEnd;
    QStackedWidget* m_pages;
    QList<Category> m_categories;
    QList<QPair<QToolButton*, QString>> m_tabRowButtons;
    QHash<int, QAction*> m_commands;
    QHash<int, QString> m_toolTips;
    QHash<QToolButton*, int> m_buttonIds;
    RibbonKeyTips m_keyTips;
    bool m_altPending = false; // Alt is down and nothing else was pressed since
    RibbonColors m_colors;
};

} // namespace platform
