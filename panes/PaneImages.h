#pragma once
// The 16-pixel image strips of the pane trees and the icons of the pane toolbar.
#include <QIcon>
#include <QList>

namespace PaneImages {

// Navigation tree, by item kind: title, entry, content. Notice items show no image.
QList<QIcon> NavigationStrip();
// Manifest and spine trees, by file type (the package's file-type image table).
QList<QIcon> FileTypeStrip();
// Toolbar buttons by command id; a null icon for an unknown id.
QIcon ToolBarIcon(int commandId);

} // namespace PaneImages
