#pragma once
// The one move operation of the pane trees: an item is re-created at its new place with
// its whole subtree, then the old one is deleted. Each copy keeps the item's image, data
// word, caption and expansion; texts longer than 520 characters are cut to 520.
#include "platform/controls/TreeControl.h"

constexpr int kMaxTreeItemText = 520;

// Moves `item` under `parent` (null: root level) right after `after` (null: first place).
// `after` may be `item` itself, which leaves the item where it is. The copy ends up
// selected and in view. Returns the copy, or null when nothing was moved.
platform::TreeItem MoveTreeItem(platform::TreeControl& tree, platform::TreeItem item,
                                platform::TreeItem parent, platform::TreeItem after);
