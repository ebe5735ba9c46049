#pragma once
// One parsed XML file. Whitespace-only text, comments, the declaration and the document
// type are kept, so that a rewrite changes only what the caller changed. No DTD is fetched.
#include "package/XmlNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

class CXmlDocument {
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    bool Parse(const QString& filePath);     // false when unreadable or not well-formed
    bool ParseBytes(const QByteArray& data); // same, from memory
    bool IsLoaded() const { return m_loaded; }

    CXmlNode GetDocumentElement() const;
    CXmlNode GetDocumentNode() const;
    // A new element of this document, not yet in the tree; AppendChild places it.
    CXmlNode CreateElement(const QString& name);
    CXmlNode CreateTextNode(const QString& text);
    // Takes `node` out of the tree, whole, to be placed again with AppendChild and the like.
    CXmlNode Detach(const CXmlNode& node);

    // Replaces the file with the serialised document, UTF-8 without a byte-order mark.
    // The old file stays as it was when writing fails.
    bool Write(const QString& filePath) const;
    QByteArray Serialize() const;

private:
    pugi::xml_node scratch();

    std::unique_ptr<pugi::xml_document> m_document;
    bool m_loaded = false;
};
