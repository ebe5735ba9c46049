#include "components/tdx/PageSetupAction.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

bool PageSetupAction::fill(ParameterSet& set)
{
    set.setItem("ApplyTo", control().applyTo());
    set.setItem("ApplyClass", control().applyClass());
    PageGeometry page = control().page();
    const auto pageDef = set.createItemSet("PageDef", "PageDef");
    const auto fields = page.fields();
    for (int i = 0; i < 8; ++i)
        pageDef->setItem(PageGeometry::itemNames()[i], *fields[i]);
    return true;
}

bool PageSetupAction::run(const ParameterSet& set)
{
    PageGeometry page = control().page();
    if (const auto pageDef = set.itemSet("PageDef")) {
        const auto fields = page.fields();
        for (int i = 0; i < 8; ++i)
            *fields[i] = pageDef->intItem(PageGeometry::itemNames()[i], *fields[i]);
    }
    if (!page.isUsable())
        return false;
    control().setApplyScope(set.intItem("ApplyTo", control().applyTo()),
                            set.intItem("ApplyClass", control().applyClass()));
    return control().setPage(page);
}

} // namespace tdx
