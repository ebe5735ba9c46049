#pragma once
// One parsed XML file. Whitespace-only text, comments, the declaration and the document
// type are kept, so that a rewrite changes only what the caller changed. No DTD is fetched.
#include "package/XmlNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

class CXmlDocument {
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // False when unreadable, not well-formed, or in an encoding that cannot be read. The
    // encoding is the byte-order mark's (UTF-16, UTF-32, UTF-8), else the declaration's (any
    // that iconv knows; none means UTF-8). The document is held in UTF-8 from then on, and its
    // declaration says so.
    // Elements nested deeper than kMaxXmlDepth are refused as well, and the refusal is kept
    // for TakeLimitProblem.
    bool Parse(const QString& filePath);
    bool ParseBytes(const QByteArray& data); // same, from memory
    bool IsLoaded() const { return m_loaded; }
    // Why the last file refused for a limit on this thread was refused, once; empty when
    // none was since the last call. The loaders that parse package files report only
    // false, so whoever opens a book asks here whether one of them was over a limit.
    static QString TakeLimitProblem();

    CXmlNode GetDocumentElement() const;
    CXmlNode GetDocumentNode() const;
    // A new element of this document, not yet in the tree; AppendChild places it.
    CXmlNode CreateElement(const QString& name);
    CXmlNode CreateTextNode(const QString& text);
    // Takes `node` out of the tree, whole, to be placed again with AppendChild and the like.
    CXmlNode Detach(const CXmlNode& node);

    // Replaces the file with the serialised document, UTF-8 without a byte-order mark, whatever
    // encoding it was read from.
    // The old file stays as it was when writing fails; LastWriteError() then says why.
    bool Write(const QString& filePath) const;
    const QString& LastWriteError() const { return m_lastWriteError; }
    QByteArray Serialize() const;

private:
    pugi::xml_node scratch();
    // The serialised document onto `device`, streamed; false when the device refused a write.
    bool Print(QIODevice& device) const;

    std::unique_ptr<pugi::xml_document> m_document;
    bool m_loaded = false;
    mutable QString m_lastWriteError;
};
