#include "components/tdx/BookmarkAction.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

bool BookmarkAction::fill(ParameterSet& set)
{
    set.setItem("Name", QString());
    set.setItem("Command", 0);
    return true;
}

bool BookmarkAction::run(const ParameterSet& set)
{
    const QString name = set.item("Name").toString();
    switch (set.intItem("Command", -1)) {
    case 0: return control().insertBookmark(name);
    case 1: return control().moveToBookmark(name);
    case 3: return control().deleteBookmark(name);
    default: return false;
    }
}

} // namespace tdx
