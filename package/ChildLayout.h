#pragma once
// Puts elements in place inside a parent the way the file already lays its children out:
// each on its own line with its siblings' indentation, or all on one line where the file
// has no line breaks. Saves that change one entry thus leave the rest of the file as it was.
#include "package/XmlNode.h"

#include <QHash>
#include <QList>

class CXmlDocument;

namespace ChildLayout {

// Makes `elements` the element children of `parent`, in that order. Elements are moved,
// never copied, so each keeps everything it holds; element children of `parent` that are
// not in the list are removed. Comments stay.
void ArrangeChildElements(CXmlDocument& document, CXmlNode parent, const CXmlNodeList& elements);

// The entries of a list kept in one or more container elements (manifest items, spine
// itemrefs), so that a save can give each entry back the element it was read from.
class CEntryElements {
public:
    // Reads the element children of `containers`, keyed by `keyAttribute` without the blanks
    // around it, as XML compares an ID.
    CEntryElements(const CXmlNodeList& containers, const QString& keyAttribute);
    // The next element read under `key` that was not taken yet, or null.
    CXmlNode Take(const QString& key);
    // Makes `entries` the entries of the first container and empties the others; does
    // nothing when they are the elements read, in the same order.
    void Replace(CXmlDocument& document, const CXmlNodeList& entries) const;

private:
    CXmlNodeList m_containers;
    CXmlNodeList m_read;
    QHash<QString, QList<CXmlNode>> m_byKey;
};

// Places `child` right before `before` (or last, when `before` is null), indented like
// the parent's other children.
CXmlNode InsertIndented(CXmlDocument& document, CXmlNode parent, const CXmlNode& child,
                        const CXmlNode& before = CXmlNode());

// Removes `child` from its parent together with the line break and indentation before it,
// so that no blank line is left where it stood.
void RemoveIndented(const CXmlNode& child);

} // namespace ChildLayout
