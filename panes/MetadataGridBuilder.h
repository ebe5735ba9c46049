#pragma once
// Builds the metadata grid of the properties pane: the required group with its eight
// fixed rows and the additional group, empty. The pane, lindar-cli and the tests all
// build the grid here, so the package model always finds the same rows.
#include <QString>

namespace platform { class PropertyGrid; }

class CMetadataGridBuilder {
public:
    enum { GROUP_REQUIRED = 0, GROUP_ADDITIONAL = 1 };

    // Removes every row and group, then builds both groups afresh with their initial values.
    static void ResetGrid(platform::PropertyGrid& grid);
    // Appends an additional item (value = its name) unless the group already has a row of
    // that name. Returns true when a row was added.
    static bool AddAdditionalItem(platform::PropertyGrid& grid, const QString& name, const QString& help);
};
