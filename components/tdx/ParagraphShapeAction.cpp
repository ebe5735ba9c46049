#include "components/tdx/ParagraphShapeAction.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

bool ParagraphShapeAction::fill(ParameterSet& set)
{
    set.setItem("Indentation", control().currentIndentation());
    return true;
}

bool ParagraphShapeAction::run(const ParameterSet& set)
{
    bool ok = false;
    const int indentation = set.item("Indentation").toInt(&ok);
    if (!ok || qAbs(indentation) > 7200 * 20)
        return false;
    control().setIndentation(indentation);
    return true;
}

} // namespace tdx
