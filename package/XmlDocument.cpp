#include "package/XmlDocument.h"

#include "package/BookLimits.h"
#include "platform/core/LegacyEncoding.h"

#include <QFile>
#include <QBuffer>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Keeps everything a rewrite should carry over; entities are decoded, DTDs never loaded.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata
    | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi;

// Nodes made by CreateElement wait here until they are placed; this holder is never written.
constexpr const char* kScratchName = "kvx-unplaced-nodes";

// Hands the printed text to a device piece by piece: a large package is never held twice.
class DeviceWriter : public pugi::xml_writer {
public:
    explicit DeviceWriter(QIODevice& device) : m_device(device) {}
    void write(const void* data, size_t size) override
    {
        m_ok = m_ok && m_device.write(static_cast<const char*>(data), qint64(size)) == qint64(size);
    }
    bool ok() const { return m_ok; }

private:
    QIODevice& m_device;
    bool m_ok = true;
};

// The file's bytes as UTF-8, the form the document is kept and written in.
struct Utf8Text {
    bool ok = false;
    bool converted = false; // the file was in another encoding
    QByteArray bytes;
};

// The encoding pseudo-attribute of an XML declaration at the start of ASCII-compatible bytes.
QByteArray declaredEncoding(const QByteArray& data)
{
    const qsizetype close = data.indexOf("?>");
    if (!data.startsWith("<?xml") || close < 0)
        return {};
    const QByteArray declaration = data.left(close);
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    qsizetype i = declaration.indexOf("encoding");
    if (i < 0)
        return {};
    for (i += 8; i < declaration.size() && isSpace(declaration[i]); ++i) {}
    if (i >= declaration.size() || declaration[i] != '=')
        return {};
    for (++i; i < declaration.size() && isSpace(declaration[i]); ++i) {}
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
        return {};
    const qsizetype end = declaration.indexOf(declaration[i], i + 1);
    return end < 0 ? QByteArray() : declaration.mid(i + 1, end - i - 1).trimmed().toLower();
}

bool isUtf8Label(const QByteArray& label) { return label == "utf-8" || label == "utf8"; }

// The iconv name for a declared label. Korean files labelled EUC-KR are mostly written by
// tools that use its superset CP949, whose extra syllables EUC-KR would refuse.
QByteArray iconvName(const QByteArray& label)
{
    if (label == "euc-kr" || label == "ks_c_5601-1987" || label == "windows-949")
        return "CP949";
    return label;
}

// UTF-16 and UTF-32 are told by their byte-order mark or by the zero bytes around the first
// '<'; they need no declaration.
struct WideForm {
    QByteArray start;
    bool byteOrderMark; // the start is a mark to drop, not text
    const char* encoding;
};
using namespace Qt::Literals::StringLiterals;
const WideForm kWideForms[] = {
    {"\xFF\xFE\0\0"_ba, true, "UTF-32LE"}, {"\0\0\xFE\xFF"_ba, true, "UTF-32BE"},
    {"\xFF\xFE"_ba, true, "UTF-16LE"},     {"\xFE\xFF"_ba, true, "UTF-16BE"},
    {"<\0\0\0"_ba, false, "UTF-32LE"},    {"\0\0\0<"_ba, false, "UTF-32BE"},
    {"<\0"_ba, false, "UTF-16LE"},          {"\0<"_ba, false, "UTF-16BE"},
};

Utf8Text toUtf8(const QByteArray& data)
{
    Utf8Text text;
    for (const WideForm& form : kWideForms) {
        if (data.startsWith(form.start)) {
            text.converted = true;
            text.ok = platform::ConvertToUtf8(data.mid(form.byteOrderMark ? form.start.size() : 0), form.encoding, text.bytes);
            return text;
        }
    }
    // A UTF-8 byte-order mark outweighs the declaration, and a UTF-16 or UTF-32 label on
    // bytes that are neither is wrong on its face: both are read as UTF-8, as before.
    // ASCII is a subset of UTF-8; files that claim it while holding UTF-8 stay readable.
    const QByteArray label = declaredEncoding(data);
    if (data.startsWith("\xEF\xBB\xBF") || label.isEmpty() || isUtf8Label(label) || label == "us-ascii"
        || label == "ascii" || label.startsWith("utf-16") || label.startsWith("utf-32")) {
        text.ok = true;
        text.bytes = data;
        return text;
    }
    text.converted = true;
    // The declaration itself must come out unchanged, or the label named no ASCII-based encoding.
    text.ok = platform::ConvertToUtf8(data, iconvName(label).constData(), text.bytes) && text.bytes.startsWith("<?xml");
    return text;
}

// The document is now UTF-8, and Write keeps it so: its declaration must say so. Only the
// encoding pseudo-attribute changes; a UTF-8 file without one needs none.
void declareUtf8(pugi::xml_document& document, bool converted)
{
    pugi::xml_node declaration = document.first_child();
    if (declaration.type() != pugi::node_declaration) {
        if (!converted)
            return;
        declaration = document.prepend_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "utf-8";
        return;
    }
    pugi::xml_attribute encoding = declaration.attribute("encoding");
    if (encoding) {
        if (!isUtf8Label(QByteArray(encoding.value()).trimmed().toLower()))
            encoding.set_value("utf-8");
        return;
    }
    if (!converted)
        return;
    const pugi::xml_attribute version = declaration.attribute("version");
    encoding = version ? declaration.insert_attribute_after("encoding", version) : declaration.prepend_attribute("encoding");
    encoding.set_value("utf-8");
}

thread_local QString t_limitProblem;

// How deep elements nest below the document, walked without recursion; stops counting
// once past `limit`.
int elementDepth(const pugi::xml_node& document, int limit)
{
    int depth = 0;
    int deepest = 0;
    pugi::xml_node node = document.first_child();
    while (node && deepest <= limit) {
        if (node.type() == pugi::node_element) {
            deepest = std::max(deepest, depth + 1);
            if (node.first_child()) {
                node = node.first_child();
                ++depth;
                continue;
            }
        }
        while (node != document && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        node = node == document ? pugi::xml_node() : node.next_sibling();
    }
    return deepest;
}

} // namespace

QString CXmlDocument::TakeLimitProblem() { return std::exchange(t_limitProblem, QString()); }

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
    const bool parsed = ParseBytes(file.readAll());
    if (!parsed && !t_limitProblem.isEmpty() && !t_limitProblem.startsWith(QLatin1Char('"')))
        t_limitProblem = QStringLiteral("\"%1\": %2").arg(QFileInfo(filePath).fileName(), t_limitProblem);
    return parsed;
}

bool CXmlDocument::ParseBytes(const QByteArray& data)
{
    m_document->reset();
    const Utf8Text text = toUtf8(data);
    m_loaded = text.ok
        && m_document->load_buffer(text.bytes.constData(), size_t(text.bytes.size()), kParseOptions, pugi::encoding_utf8)
        && m_document->document_element();
    if (m_loaded && elementDepth(*m_document, kMaxXmlDepth) > kMaxXmlDepth) {
        t_limitProblem = QStringLiteral("XML 요소가 한도(%1단계)보다 깊이 중첩되어 있습니다").arg(kMaxXmlDepth);
        m_loaded = false;
    }
    if (m_loaded)
        declareUtf8(*m_document, text.converted);
    else
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

bool CXmlDocument::Print(QIODevice& device) const
{
    DeviceWriter writer(device);
    // Written child by child so that the holder of unplaced nodes stays out of the file.
    for (pugi::xml_node child : m_document->children()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), kScratchName) == 0)
            continue;
        child.print(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        writer.write("\n", 1); // top-level whitespace is not kept by the parser; one line each
    }
    return writer.ok();
}

QByteArray CXmlDocument::Serialize() const
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    Print(buffer);
    return out;
}

bool CXmlDocument::Write(const QString& filePath) const
{
    m_lastWriteError.clear();
    if (!m_loaded)
        return false;
    QSaveFile file(filePath);
    if (file.open(QIODevice::WriteOnly) && Print(file) && file.commit())
        return true;
    m_lastWriteError = file.errorString();
    return false;
}
