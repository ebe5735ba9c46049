#include "package/XmlDocument.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

namespace {

// Keeps everything a rewrite should carry over; entities are decoded, DTDs never loaded.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata
    | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi;

// Nodes made by CreateElement wait here until they are placed; this holder is never written.
constexpr const char* kScratchName = "kvx-unplaced-nodes";

class ByteWriter : public pugi::xml_writer {
public:
    explicit ByteWriter(QByteArray& out) : m_out(out) {}
    void write(const void* data, size_t size) override
    {
        m_out.append(static_cast<const char*>(data), qsizetype(size));
    }

private:
    QByteArray& m_out;
};

} // namespace

CXmlDocument::CXmlDocument()
    : m_document(std::make_unique<pugi::xml_document>())
{
}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::Parse(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_document->reset();
        m_loaded = false;
        return false;
    }
    return ParseBytes(file.readAll());
}

bool CXmlDocument::ParseBytes(const QByteArray& data)
{
    m_document->reset();
    const pugi::xml_parse_result result = m_document->load_buffer(
        data.constData(), size_t(data.size()), kParseOptions, pugi::encoding_auto);
    m_loaded = bool(result) && m_document->document_element();
    if (!m_loaded)
        m_document->reset();
    return m_loaded;
}

CXmlNode CXmlDocument::GetDocumentElement() const
{
    for (pugi::xml_node child : m_document->children()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), kScratchName) != 0)
            return CXmlNode(child);
    }
    return {};
}

CXmlNode CXmlDocument::GetDocumentNode() const { return CXmlNode(*m_document); }

pugi::xml_node CXmlDocument::scratch()
{
    pugi::xml_node holder = m_document->child(kScratchName);
    if (!holder)
        holder = m_document->append_child(kScratchName);
    return holder;
}

CXmlNode CXmlDocument::CreateElement(const QString& name)
{
    if (!m_loaded || name.isEmpty())
        return {};
    return CXmlNode(scratch().append_child(name.toUtf8().constData()));
}

CXmlNode CXmlDocument::CreateTextNode(const QString& text)
{
    if (!m_loaded)
        return {};
    pugi::xml_node node = scratch().append_child(pugi::node_pcdata);
    node.set_value(text.toUtf8().constData());
    return CXmlNode(node);
}

CXmlNode CXmlDocument::Detach(const CXmlNode& node)
{
    if (!m_loaded || node.IsNull() || node.GetType() == CXmlNode::NODE_ATTRIBUTE)
        return {};
    return CXmlNode(scratch().append_move(node.raw()));
}

QByteArray CXmlDocument::Serialize() const
{
    QByteArray out;
    ByteWriter writer(out);
    // Written child by child so that the holder of unplaced nodes stays out of the file.
    for (pugi::xml_node child : m_document->children()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), kScratchName) == 0)
            continue;
        child.print(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        out.append('\n'); // top-level whitespace is not kept by the parser; one line each

    }
    return out;
}

bool CXmlDocument::Write(const QString& filePath) const
{
    if (!m_loaded)
        return false;
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = Serialize();
    if (file.write(data) != data.size())
        return false;
    return file.commit();
}
