#pragma once

namespace platform {
class RibbonBar;
}

// Fills the ribbon from the command table: the application menu, the tabs with their
// panels, the about button at the right end of the tab row and the look choice.
class CRibbonBuilder {
public:
    static void Build(platform::RibbonBar& ribbon);
};
