#pragma once
// Puts elements in place inside a parent the way the file already lays its children out:
// each on its own line with its siblings' indentation, or all on one line where the file
// has no line breaks. Saves that change one entry thus leave the rest of the file as it was.
#include "package/XmlNode.h"

class CXmlDocument;

namespace ChildLayout {

// Makes `elements` the element children of `parent`, in that order. Elements are moved,
// never copied, so each keeps everything it holds; element children of `parent` that are
// not in the list are removed. Comments stay.
void ArrangeChildElements(CXmlDocument& document, CXmlNode parent, const CXmlNodeList& elements);

// Places `child` right before `before` (or last, when `before` is null), indented like
// the parent's other children.
CXmlNode InsertIndented(CXmlDocument& document, CXmlNode parent, const CXmlNode& child,
                        const CXmlNode& before = CXmlNode());

// Removes `child` from its parent together with the line break and indentation before it,
// so that no blank line is left where it stood.
void RemoveIndented(const CXmlNode& child);

} // namespace ChildLayout
