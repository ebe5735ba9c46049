#include "components/tdx/StyleAction.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

bool StyleAction::fill(ParameterSet& set)
{
    set.setItem("Apply", control().currentStyleIndex());
    return true;
}

bool StyleAction::run(const ParameterSet& set)
{
    return control().applyStyle(set.intItem("Apply", -1));
}

} // namespace tdx
