#pragma once
// The editor's commands in one place: what each is called and says, what it runs, whether
// it needs a book, its keys, and where the ribbon places it. The ribbon builder, the
// accelerators, the enable rule and the frame's dispatcher all read this table.
#include <QKeySequence>
#include <QList>
#include <QString>

struct CommandRow {
    int id = 0;
    QString label;       // the same wherever the command is placed
    QString toolTip;
    QString action;      // the control's action run by name; empty for an editor operation
    bool needsBook = false; // does something only with an active document and chapter view
    QList<QKeySequence> keys;
};

// One ribbon panel: its caption and its buttons in order; the first `largeCount` are large.
struct CommandPanel {
    QString caption;
    QList<int> ids;
    int largeCount = 0;
};

struct CommandTab {
    QString caption;
    QList<CommandPanel> panels;
};

class CCommandTable {
public:
    static const QList<CommandRow>& Rows();
    // Null for an id the table does not know.
    static const CommandRow* Find(int id);
    static bool NeedsBook(int id);

    // The application menu: ids in order, 0 for a separator.
    static const QList<int>& ApplicationMenu();
    static QString ApplicationMenuLabel(int id); // the menu's own label where it differs
    static QString RecentFilesCaption();
    static int RecentFilesWidth();
    static const QList<CommandTab>& Tabs();
    // The icon-only button at the right end of the tab row and its key tip.
    static int TabRowCommand();
    static QString TabRowKeyTip();
};
