#include "platform/controls/TreeControl.h"

namespace platform {

int TreeControl::GetCount() const
{
    int count = 0;
    // Iterative pre-order walk: trees of large books are deep enough to avoid recursion.
    TreeItem item = GetRootItem();
    while (item) {
        ++count;
        if (TreeItem child = GetChildItem(item)) {
            item = child;
            continue;
        }
        while (item && !GetNextSiblingItem(item))
            item = GetParentItem(item);
        if (item)
            item = GetNextSiblingItem(item);
    }
    return count;
}

} // namespace platform
