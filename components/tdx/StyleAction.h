#pragma once
// "Style": "Apply" is the position of a style in the document's style list; executing
// gives the current paragraphs that style.
#include "components/tdx/ControlAction.h"

namespace tdx {

class StyleAction : public ControlAction {
public:
    explicit StyleAction(EditorControl* control) : ControlAction(control, "Style") {}

protected:
    bool fill(ParameterSet& set) override;
    bool run(const ParameterSet& set) override;
};

} // namespace tdx
