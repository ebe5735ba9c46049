#pragma once
// "ParagraphShape": "Indentation", the first-line indent of the current paragraphs in
// 1/7200 inch; a negative value hangs the first line out to the left.
#include "components/tdx/ControlAction.h"

namespace tdx {

class ParagraphShapeAction : public ControlAction {
public:
    explicit ParagraphShapeAction(EditorControl* control) : ControlAction(control, "ParagraphShape") {}

protected:
    bool fill(ParameterSet& set) override;
    bool run(const ParameterSet& set) override;
};

} // namespace tdx
