#pragma once
// "Bookmark": "Name" and "Command": 0 inserts a bookmark at the caret, 1 moves the caret
// to it, 3 deletes it.
#include "components/tdx/ControlAction.h"

namespace tdx {

class BookmarkAction : public ControlAction {
public:
    explicit BookmarkAction(EditorControl* control) : ControlAction(control, "Bookmark") {}

protected:
    bool fill(ParameterSet& set) override;
    bool run(const ParameterSet& set) override;
};

} // namespace tdx
