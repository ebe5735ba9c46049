#include "platform/controls/PropertyGrid.h"

namespace platform {

int PropertyGrid::FindRow(int group, const QString& name) const
{
    const int count = GetRowCount(group);
    for (int row = 0; row < count; ++row) {
        if (GetRowName(group, row) == name)
            return row;
    }
    return -1;
}

} // namespace platform
