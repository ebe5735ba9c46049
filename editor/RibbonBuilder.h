#pragma once

namespace platform {
class RibbonBar;
}

// Fills the ribbon with the commands, tabs and panels the editor offers.
class CRibbonBuilder {
public:
    static void Build(platform::RibbonBar& ribbon);
};
