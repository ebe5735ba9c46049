#pragma once
// The visual looks the look commands 210 to 218 choose, each with its own colours.
#include "platform/ui/RibbonBar.h"

#include <QList>
#include <QPalette>
#include <QString>

struct LookStyle {
    int look = 0;
    QString name;              // the look menu's entry
    QPalette palette;          // the main window and its panes
    platform::RibbonColors ribbon;
};

class CApplicationLook {
public:
    // The looks in menu order.
    static const QList<LookStyle>& Looks();
    // Any value outside 210 to 218 gets the blue look of 215.
    static const LookStyle& For(int look);
};
