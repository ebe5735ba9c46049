#include "package/ChildLayout.h"

#include "package/XmlDocument.h"

#include <QSet>

namespace ChildLayout {

namespace {

bool isBlankText(const CXmlNode& node)
{
    return node.GetType() == CXmlNode::NODE_TEXT && node.GetValue().trimmed().isEmpty();
}

// The line break and indentation written before `node`, or empty on a one-line file.
QString breakBefore(const CXmlNode& node)
{
    const CXmlNode previous = node.GetPreviousSibling();
    if (previous.IsNull() || !isBlankText(previous))
        return {};
    const QString text = previous.GetValue();
    const qsizetype lineBreak = text.lastIndexOf(QLatin1Char('\n'));
    return lineBreak < 0 ? QString() : text.mid(lineBreak);
}

struct Layout {
    QString child;   // before each child
    QString closing; // before the parent's end tag
};

Layout layoutOf(const CXmlNode& parent)
{
    const QString parentBreak = breakBefore(parent);
    const CXmlNodeList children = parent.GetChildElements();
    Layout layout;
    if (!children.isEmpty()) {
        layout.child = breakBefore(children.first());
        const CXmlNode last = parent.raw().last_child() ? CXmlNode(parent.raw().last_child()) : CXmlNode();
        layout.closing = isBlankText(last) ? last.GetValue() : QString();
        if (!layout.child.isEmpty() || !children.first().GetPreviousSibling().IsNull())
            return layout;
    }
    // No child to learn from: one step deeper than the parent, if the file breaks lines.
    if (!parentBreak.isEmpty()) {
        layout.child = parentBreak + QStringLiteral("  ");
        layout.closing = parentBreak;
    }
    return layout;
}

CXmlNode placeText(CXmlDocument& document, CXmlNode parent, const QString& text, const CXmlNode& before)
{
    if (text.isEmpty())
        return {};
    return parent.InsertChildBefore(document.CreateTextNode(text), before);
}

} // namespace

void ArrangeChildElements(CXmlDocument& document, CXmlNode parent, const CXmlNodeList& elements)
{
    const Layout layout = layoutOf(parent);
    QSet<pugi::xml_node_struct*> kept;
    for (const CXmlNode& element : elements)
        kept.insert(element.raw().internal_object());
    // What goes: elements not kept, and the blank text between children, which is
    // written anew around the elements in their new order.
    for (pugi::xml_node child = parent.raw().first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        const CXmlNode node(child);
        if ((node.GetType() == CXmlNode::NODE_ELEMENT && !kept.contains(child.internal_object())) || isBlankText(node))
            parent.raw().remove_child(child);
        child = next;
    }
    for (const CXmlNode& element : elements) {
        placeText(document, parent, layout.child, CXmlNode());
        parent.AppendChild(element);
    }
    placeText(document, parent, layout.closing, CXmlNode());
}

CXmlNode InsertIndented(CXmlDocument& document, CXmlNode parent, const CXmlNode& child, const CXmlNode& before)
{
    const Layout layout = layoutOf(parent);
    if (!before.IsNull()) {
        CXmlNode placed = parent.InsertChildBefore(child, before);
        placeText(document, parent, layout.child.isEmpty() ? QString() : layout.child, before);
        return placed;
    }
    // Last: after the last child, keeping the closing break at the very end.
    CXmlNode closing = parent.raw().last_child() ? CXmlNode(parent.raw().last_child()) : CXmlNode();
    if (!isBlankText(closing))
        closing = CXmlNode();
    const bool hasElements = !parent.GetChildElements().isEmpty();
    if (closing.IsNull() && !layout.closing.isEmpty() && !hasElements) {
        placeText(document, parent, layout.child, CXmlNode());
        CXmlNode placed = parent.AppendChild(child);
        placeText(document, parent, layout.closing, CXmlNode());
        return placed;
    }
    placeText(document, parent, layout.child, closing);
    return parent.InsertChildBefore(child, closing);
}

void RemoveIndented(const CXmlNode& child)
{
    CXmlNode parent = child.GetParent();
    if (parent.IsNull())
        return;
    const CXmlNode previous = child.GetPreviousSibling();
    if (!previous.IsNull() && isBlankText(previous) && previous.GetValue().contains(QLatin1Char('\n')))
        parent.RemoveChild(previous);
    parent.RemoveChild(child);
}

CEntryElements::CEntryElements(const CXmlNodeList& containers, const QString& keyAttribute)
    : m_containers(containers)
{
    for (const CXmlNode& container : containers) {
        for (const CXmlNode& child : container.GetChildElements()) {
            m_byKey[child.GetAttribute(keyAttribute).trimmed()].append(child);
            m_read.append(child);
        }
    }
}

CXmlNode CEntryElements::Take(const QString& key)
{
    QList<CXmlNode>& candidates = m_byKey[key.trimmed()];
    return candidates.isEmpty() ? CXmlNode() : candidates.takeFirst();
}

void CEntryElements::Replace(CXmlDocument& document, const CXmlNodeList& entries) const
{
    if (entries == m_read || m_containers.isEmpty())
        return;
    // The first container takes the entries first, so none of them is lost with the others.
    ArrangeChildElements(document, m_containers.first(), entries);
    for (qsizetype i = m_containers.size() - 1; i > 0; --i)
        ArrangeChildElements(document, m_containers[i], {});
}

} // namespace ChildLayout
