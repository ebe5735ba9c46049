#pragma once
// "PageSetup": "ApplyTo", "ApplyClass" and the sub-set "PageDef" with the eight page
// items in 1/7200 inch. Executing it sets the page the view lays text out on.
#include "components/tdx/ControlAction.h"

namespace tdx {

class PageSetupAction : public ControlAction {
public:
    explicit PageSetupAction(EditorControl* control) : ControlAction(control, "PageSetup") {}

protected:
    bool fill(ParameterSet& set) override;
    bool run(const ParameterSet& set) override;
};

} // namespace tdx
