#pragma once
// "StyleTemplate": arrays "NameEngs" and "NameLocals" naming the styles concerned, and
// "FileName", the style file. The set goes to the export and import members; executing
// the action imports.
#include "components/tdx/ControlAction.h"

namespace tdx {

class StyleTemplateAction : public ControlAction {
public:
    explicit StyleTemplateAction(EditorControl* control) : ControlAction(control, "StyleTemplate") {}

protected:
    bool fill(ParameterSet& set) override;
    bool run(const ParameterSet& set) override;
};

} // namespace tdx
