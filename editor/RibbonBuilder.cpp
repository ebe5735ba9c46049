#include "editor/RibbonBuilder.h"

#include "editor/ApplicationLook.h"
#include "editor/CommandIcons.h"
#include "editor/CommandTable.h"
#include "platform/ui/RibbonBar.h"

namespace {

void declareCommands(platform::RibbonBar& ribbon)
{
    for (const CommandRow& row : CCommandTable::Rows())
        if (!row.label.isEmpty())
            ribbon.addCommand(row.id, row.label, row.toolTip, CommandIcon(row.id), row.keys);
    for (const LookStyle& look : CApplicationLook::Looks())
        ribbon.addCommand(look.look, look.name, look.name);
}

void buildApplicationMenu(platform::RibbonBar& ribbon)
{
    ribbon.setApplicationButton(QStringLiteral("파일"));
    for (int id : CCommandTable::ApplicationMenu()) {
        if (id == 0)
            ribbon.addApplicationMenuSeparator();
        else
            ribbon.addApplicationMenuCommand(id, CCommandTable::ApplicationMenuLabel(id));
    }
    ribbon.setRecentFilesCaption(CCommandTable::RecentFilesCaption(), CCommandTable::RecentFilesWidth());
    const int last = CCommandTable::ApplicationMenu().last();
    ribbon.setApplicationMenuBottomCommand(last, CCommandTable::ApplicationMenuLabel(last));
}

} // namespace

void CRibbonBuilder::Build(platform::RibbonBar& ribbon)
{
    declareCommands(ribbon);
    buildApplicationMenu(ribbon);
    for (const CommandTab& tab : CCommandTable::Tabs()) {
        const int category = ribbon.addCategory(tab.caption);
        for (const CommandPanel& panel : tab.panels) {
            const int index = ribbon.addPanel(category, panel.caption);
            for (int i = 0; i < panel.ids.size(); ++i)
                ribbon.addButton(category, index, panel.ids.at(i),
                                 i < panel.largeCount ? platform::RibbonBar::ButtonSize::Large
                                                      : platform::RibbonBar::ButtonSize::Small);
        }
    }
    QList<int> looks;
    for (const LookStyle& look : CApplicationLook::Looks())
        looks << look.look;
    ribbon.addTabRowChoice(QStringLiteral("모양"), QStringLiteral("L"), looks);
    ribbon.addTabRowButton(CCommandTable::TabRowCommand(), CCommandTable::TabRowKeyTip());
}
