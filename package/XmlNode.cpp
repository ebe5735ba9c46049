#include "package/XmlNode.h"

#include <QByteArray>

#include <cstring>

namespace {

QString fromUtf8(const char* text) { return QString::fromUtf8(text, qsizetype(std::strlen(text))); }

// Collects the elements named `name` under `node`, in document order, without recursion:
// deeply nested tables of contents must not exhaust the stack.
void collectDescendants(pugi::xml_node node, const QByteArray& name, CXmlNodeList& out)
{
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_element && name == current.name())
            out.append(CXmlNode(current));
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current == node)
            break;
        current = current.next_sibling();
    }
}

void appendText(pugi::xml_node node, QByteArray& out)
{
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata)
            out += current.value();
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current == node)
            break;
        current = current.next_sibling();
    }
}

} // namespace

int CXmlNode::GetType() const
{
    if (m_attribute)
        return NODE_ATTRIBUTE;
    switch (m_node.type()) {
    case pugi::node_element: return NODE_ELEMENT;
    case pugi::node_pcdata: return NODE_TEXT;
    case pugi::node_cdata: return NODE_CDATA;
    case pugi::node_pi: return NODE_PI;
    case pugi::node_comment: return NODE_COMMENT;
    case pugi::node_document: return NODE_DOCUMENT;
    case pugi::node_doctype: return NODE_DOCTYPE;
    default: return NODE_OTHER;
    }
}

QString CXmlNode::GetName() const
{
    if (m_attribute)
        return fromUtf8(m_attribute.name());
    switch (m_node.type()) {
    case pugi::node_pcdata: return QStringLiteral("#text");
    case pugi::node_cdata: return QStringLiteral("#cdata-section");
    case pugi::node_comment: return QStringLiteral("#comment");
    case pugi::node_document: return QStringLiteral("#document");
    default: return fromUtf8(m_node.name());
    }
}

QString CXmlNode::GetValue() const
{
    if (m_attribute)
        return fromUtf8(m_attribute.value());
    return fromUtf8(m_node.value());
}

CXmlNodeList CXmlNode::GetChildNodes() const
{
    CXmlNodeList out;
    if (m_attribute)
        return out;
    for (pugi::xml_node child : m_node.children())
        out.append(CXmlNode(child));
    return out;
}

CXmlNodeList CXmlNode::GetChildElements() const
{
    CXmlNodeList out;
    if (m_attribute)
        return out;
    for (pugi::xml_node child : m_node.children()) {
        if (child.type() == pugi::node_element)
            out.append(CXmlNode(child));
    }
    return out;
}

CXmlNodeList CXmlNode::GetAttributes() const
{
    CXmlNodeList out;
    if (m_attribute)
        return out;
    for (pugi::xml_attribute attribute : m_node.attributes())
        out.append(CXmlNode(m_node, attribute));
    return out;
}

CXmlNode CXmlNode::GetAttributeNode(const QString& name) const
{
    if (m_attribute || m_node.type() != pugi::node_element)
        return {};
    pugi::xml_attribute attribute = m_node.attribute(name.toUtf8().constData());
    return attribute ? CXmlNode(m_node, attribute) : CXmlNode();
}

QString CXmlNode::GetAttribute(const QString& name) const
{
    return GetAttributeNode(name).GetValue();
}

bool CXmlNode::HasAttribute(const QString& name) const { return !GetAttributeNode(name).IsNull(); }

void CXmlNode::SetAttribute(const QString& name, const QString& value)
{
    if (m_attribute || m_node.type() != pugi::node_element)
        return;
    const QByteArray key = name.toUtf8();
    pugi::xml_attribute attribute = m_node.attribute(key.constData());
    if (!attribute)
        attribute = m_node.append_attribute(key.constData());
    attribute.set_value(value.toUtf8().constData());
}

bool CXmlNode::RemoveAttribute(const QString& name)
{
    if (m_attribute)
        return false;
    return m_node.remove_attribute(name.toUtf8().constData());
}

QString CXmlNode::GetTextContent() const
{
    if (m_attribute)
        return GetValue();
    if (m_node.type() == pugi::node_pcdata || m_node.type() == pugi::node_cdata)
        return fromUtf8(m_node.value());
    QByteArray text;
    appendText(m_node, text);
    return QString::fromUtf8(text);
}

void CXmlNode::SetTextContent(const QString& text)
{
    if (m_attribute) {
        m_attribute.set_value(text.toUtf8().constData());
        return;
    }
    if (m_node.type() != pugi::node_element)
        return;
    while (m_node.first_child())
        m_node.remove_child(m_node.first_child());
    if (!text.isEmpty())
        m_node.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
}

CXmlNode CXmlNode::AppendChild(const CXmlNode& child)
{
    if (m_attribute || child.m_attribute || !child.m_node)
        return {};
    return CXmlNode(m_node.append_move(child.m_node));
}

CXmlNode CXmlNode::InsertChildAfter(const CXmlNode& child, const CXmlNode& after)
{
    if (m_attribute || child.m_attribute || !child.m_node)
        return {};
    if (after.IsNull())
        return CXmlNode(m_node.prepend_move(child.m_node));
    return CXmlNode(m_node.insert_move_after(child.m_node, after.m_node));
}

CXmlNode CXmlNode::InsertChildBefore(const CXmlNode& child, const CXmlNode& before)
{
    if (m_attribute || child.m_attribute || !child.m_node)
        return {};
    if (before.IsNull())
        return CXmlNode(m_node.append_move(child.m_node));
    return CXmlNode(m_node.insert_move_before(child.m_node, before.m_node));
}

CXmlNode CXmlNode::GetPreviousSibling() const
{
    return m_attribute ? CXmlNode() : CXmlNode(m_node.previous_sibling());
}

CXmlNode CXmlNode::GetNextSibling() const
{
    return m_attribute ? CXmlNode() : CXmlNode(m_node.next_sibling());
}

bool CXmlNode::RemoveChild(const CXmlNode& child)
{
    if (m_attribute || child.m_attribute || child.m_node.parent() != m_node)
        return false;
    return m_node.remove_child(child.m_node);
}

CXmlNode CXmlNode::GetParent() const
{
    if (m_attribute)
        return CXmlNode(m_node);
    return CXmlNode(m_node.parent());
}

CXmlNode CXmlNode::GetFirstChildElement(const QString& name) const
{
    const QByteArray key = name.toUtf8();
    for (pugi::xml_node child = m_node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && (key.isEmpty() || key == child.name()))
            return CXmlNode(child);
    }
    return {};
}

CXmlNode CXmlNode::GetNextSiblingElement(const QString& name) const
{
    if (m_attribute)
        return {};
    const QByteArray key = name.toUtf8();
    for (pugi::xml_node sibling = m_node.next_sibling(); sibling; sibling = sibling.next_sibling()) {
        if (sibling.type() == pugi::node_element && (key.isEmpty() || key == sibling.name()))
            return CXmlNode(sibling);
    }
    return {};
}

CXmlNodeList CXmlNode::GetElementsByTagName(const QString& name) const
{
    CXmlNodeList out;
    if (!m_attribute)
        collectDescendants(m_node, name.toUtf8(), out);
    return out;
}

CXmlNodeList CXmlNode::SelectNodes(const QString& absolutePath) const
{
    if (m_attribute || !absolutePath.startsWith(QLatin1Char('/')))
        return {};
    QList<pugi::xml_node> current{m_node.root()};
    const QStringList steps = absolutePath.mid(1).split(QLatin1Char('/'));
    for (const QString& step : steps) {
        const QByteArray name = step.toUtf8();
        QList<pugi::xml_node> next;
        for (pugi::xml_node node : current) {
            for (pugi::xml_node child : node.children()) {
                if (child.type() == pugi::node_element && name == child.name())
                    next.append(child);
            }
        }
        current.swap(next);
        if (current.isEmpty())
            break;
    }
    CXmlNodeList out;
    for (pugi::xml_node node : current)
        out.append(CXmlNode(node));
    return out;
}

CXmlNode CXmlNode::SelectSingleNode(const QString& absolutePath) const
{
    const CXmlNodeList nodes = SelectNodes(absolutePath);
    return nodes.isEmpty() ? CXmlNode() : nodes.first();
}
