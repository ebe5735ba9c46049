#include "components/tdx/StyleTemplateAction.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

// Arrays the caller already made are left as they are; only missing ones get the whole list.
bool StyleTemplateAction::fill(ParameterSet& set)
{
    if (!set.hasItem("FileName"))
        set.setItem("FileName", QString());
    const StyleList& styles = control().styles();
    if (!set.itemArray("NameEngs") && !set.itemArray("NameLocals")) {
        const auto engs = set.createItemArray("NameEngs", styles.size());
        const auto locals = set.createItemArray("NameLocals", styles.size());
        for (int i = 0; i < styles.size(); ++i) {
            engs->setItem(i, styles.at(i).nameEng);
            locals->setItem(i, styles.at(i).nameLocal);
        }
    }
    return true;
}

bool StyleTemplateAction::run(const ParameterSet& set)
{
    return control().importStyles(set);
}

} // namespace tdx
