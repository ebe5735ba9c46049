#pragma once
// The navigation pane "목차 관리": the table-of-contents tree (control id 3) below the pane
// toolbar. The tree is the book's table of contents while the book is open; this pane
// reorders it, renames entries in place, and opens the chapter of the selected entry.
#include "panes/TreePane.h"
#include "platform/controls/TreeControl.h"

#include <QHash>

class CPaneHost;
class QMenu;

class CNaviView : public CTreePane {
    Q_OBJECT
public:
    static constexpr int kTreeId = 3;

    explicit CNaviView(CPaneHost& host, QWidget* parent = nullptr);

    // Toolbar commands: the four moves here, the two others for the document.
    void OnCommand(int id);
    void OnMoveUp();
    void OnMoveDown();
    void OnDemote();
    void OnPromote();

    // Opens the chapter of a newly selected item, and moves to its bookmark.
    void OnSelectionChanged(platform::TreeItem item);

    // A right-click at a screen point; from the keyboard's menu key `fromMouse` is false
    // and the menu commands keep the enable state of the last right-click.
    void OnContextMenu(const QPoint& screenPoint, bool fromMouse);
    bool IsMenuCommandEnabled(int id) const { return m_menuEnabled.value(id, false); }
    QMenu* ContextMenu() const { return m_menu; }
    // Commands of the context menu, for the active document.
    void OnMenuCommand(int id);

    // End of an in-place rename: a non-empty text becomes the label.
    void OnEndLabelEdit(platform::TreeItem item, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The selected item when a move may run: more than two items in all, and the
    // selected item has children (so only the title and entry items move).
    platform::TreeItem MovableSelection() const;
    void MoveSelected(platform::TreeItem item, platform::TreeItem parent, platform::TreeItem after);
    void BuildContextMenu();
    void SetMenuFlags(int image);
    void RunDocumentCommand(int id);
    bool FilterKey(QObject* watched, QEvent* event);

    CPaneHost& m_host;
    QMenu* m_menu = nullptr;
    QHash<int, bool> m_menuEnabled; // the five enable flags, all off at first
};
