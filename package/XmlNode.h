#pragma once
// A node of a parsed XML document: element, attribute or text. Names are qualified names
// as written ("dc:title"); no namespace processing takes place.
#include <QList>
#include <QString>

#include <pugixml.hpp>

class CXmlNode;
using CXmlNodeList = QList<CXmlNode>;

class CXmlNode {
public:
    // Node types as callers test them.
    enum { NODE_ELEMENT = 1, NODE_ATTRIBUTE = 2, NODE_TEXT = 3, NODE_CDATA = 4,
           NODE_PI = 7, NODE_COMMENT = 8, NODE_DOCUMENT = 9, NODE_DOCTYPE = 10, NODE_OTHER = 0 };

    CXmlNode() = default;
    explicit CXmlNode(pugi::xml_node node) : m_node(node) {}
    CXmlNode(pugi::xml_node owner, pugi::xml_attribute attribute)
        : m_node(owner), m_attribute(attribute) {}

    bool IsNull() const { return !m_node && !m_attribute; }
    explicit operator bool() const { return !IsNull(); }
    bool operator==(const CXmlNode& other) const
    {
        return m_node == other.m_node && m_attribute == other.m_attribute;
    }

    int GetType() const;
    QString GetName() const;
    QString GetValue() const; // attribute value, or the text of a text node

    CXmlNodeList GetChildNodes() const;
    CXmlNodeList GetChildElements() const; // element children only, in order
    CXmlNodeList GetAttributes() const;                      // attribute nodes in order
    CXmlNode GetAttributeNode(const QString& name) const;    // null when absent
    QString GetAttribute(const QString& name) const;         // empty when absent
    bool HasAttribute(const QString& name) const;
    void SetAttribute(const QString& name, const QString& value);
    bool RemoveAttribute(const QString& name);

    QString GetTextContent() const;
    void SetTextContent(const QString& text); // replaces every child by one text node

    // Moves `child` (a node of the same document) to the end of this element's children.
    CXmlNode AppendChild(const CXmlNode& child);
    CXmlNode InsertChildAfter(const CXmlNode& child, const CXmlNode& after);
    CXmlNode InsertChildBefore(const CXmlNode& child, const CXmlNode& before);
    bool RemoveChild(const CXmlNode& child);

    CXmlNode GetParent() const;
    CXmlNode GetPreviousSibling() const; // any node type; null at the start
    CXmlNode GetNextSibling() const;
    CXmlNode GetFirstChildElement(const QString& name = QString()) const;
    CXmlNode GetNextSiblingElement(const QString& name = QString()) const;

    // Descendant elements with this qualified name, in document order.
    CXmlNodeList GetElementsByTagName(const QString& name) const;
    // Elements at an absolute path such as "/package/metadata", all or the first.
    CXmlNodeList SelectNodes(const QString& absolutePath) const;
    CXmlNode SelectSingleNode(const QString& absolutePath) const;

    pugi::xml_node raw() const { return m_node; }

private:
    pugi::xml_node m_node;            // the element or text node; the owner for attributes
    pugi::xml_attribute m_attribute;  // set for attribute nodes
};
