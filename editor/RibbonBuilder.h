#pragma once

namespace platform {
class RibbonBar;
}

// Fills the ribbon with the commands, tabs and panels the editor offers.
class CRibbonBuilder {
public:
    static void Build(platform::RibbonBar& ribbon);
    // Enables the commands that need a book while one is open, and disables them otherwise.
    static void EnableBookCommands(platform::RibbonBar& ribbon, bool bookOpen);
};
