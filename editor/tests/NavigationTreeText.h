#pragma once
// Navigation trees in the editor tests: NCX points to build books from, the tree's shape as
// text, and an item found by its text.
#include "platform/ui/QtTreeControl.h"

#include <QString>
#include <QStringList>

namespace navtest {

using platform::QtTreeControl;
using platform::TreeItem;

inline QString navPoint(const QString& label, const QString& src, const QString& inner = QString())
{
    return QStringLiteral("<navPoint><navLabel><text>%1</text></navLabel><content src=\"%2\"/>%3</navPoint>")
        .arg(label, src, inner);
}

// The tree as "label[children]", content items as "=target".
inline QString shape(const QtTreeControl& tree, TreeItem first)
{
    QStringList parts;
    for (TreeItem item = first; item; item = tree.GetNextSiblingItem(item)) {
        QString part = tree.GetItemImage(item) == 2 ? "=" + tree.GetItemText(item) : tree.GetItemText(item);
        if (TreeItem child = tree.GetChildItem(item))
            part += "[" + shape(tree, child) + "]";
        parts << part;
    }
    return parts.join(' ');
}

inline TreeItem findItem(const QtTreeControl& tree, const QString& text, TreeItem first)
{
    for (TreeItem item = first; item; item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemText(item) == text)
            return item;
        if (TreeItem found = findItem(tree, text, tree.GetChildItem(item)))
            return found;
    }
    return nullptr;
}

} // namespace navtest
