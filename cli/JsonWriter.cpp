#include "cli/JsonWriter.h"

#include <QTextStream>

namespace cli {
namespace {

constexpr qsizetype kSinkPiece = 64 * 1024;

} // namespace

JsonWriter::JsonWriter(bool indented, QTextStream* sink)
    : m_indented(indented)
    , m_sink(sink)
{
}

void JsonWriter::spill()
{
    if (m_sink && m_out.size() >= kSinkPiece)
        flush();
}

void JsonWriter::flush()
{
    if (!m_sink)
        return;
    *m_sink << m_out;
    m_out.clear();
}

void JsonWriter::newLine()
{
    if (!m_indented)
        return;
    m_out.append('\n');
    m_out.append(QByteArray(qsizetype(m_hasMembers.size()) * 4, ' '));
}

// Separates the value from the one before it, unless it follows its key.
void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_hasMembers.empty())
        return;
    if (m_hasMembers.back())
        m_out.append(',');
    m_hasMembers.back() = true;
    newLine();
}

void JsonWriter::open(char bracket)
{
    beforeValue();
    m_out.append(bracket);
    m_hasMembers.push_back(false);
}

void JsonWriter::close(char bracket)
{
    const bool hadMembers = m_hasMembers.back();
    m_hasMembers.pop_back();
    if (hadMembers)
        newLine();
    m_out.append(bracket);
    spill();
}

void JsonWriter::beginObject() { open('{'); }
void JsonWriter::endObject() { close('}'); }
void JsonWriter::beginArray() { open('['); }
void JsonWriter::endArray() { close(']'); }

void JsonWriter::key(const QString& name)
{
    beforeValue();
    appendString(name);
    m_out.append(m_indented ? ": " : ":");
    m_afterKey = true;
}

void JsonWriter::value(const QString& text)
{
    beforeValue();
    appendString(text);
    spill();
}

void JsonWriter::value(int number)
{
    beforeValue();
    m_out.append(QByteArray::number(number));
}

void JsonWriter::value(bool flag)
{
    beforeValue();
    m_out.append(flag ? "true" : "false");
}

void JsonWriter::appendString(const QString& text)
{
    static const char kHex[] = "0123456789abcdef";
    m_out.append('"');
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': m_out.append("\\\""); break;
        case '\\': m_out.append("\\\\"); break;
        case '\n': m_out.append("\\n"); break;
        case '\r': m_out.append("\\r"); break;
        case '\t': m_out.append("\\t"); break;
        default:
            if (byte < 0x20) {
                m_out.append("\\u00");
                m_out.append(kHex[byte >> 4]);
                m_out.append(kHex[byte & 0xF]);
            } else {
                m_out.append(c);
            }
        }
    }
    m_out.append('"');
}

void JsonWriter::endLine()
{
    m_out.append('\n');
    flush();
}

QByteArray JsonWriter::take()
{
    QByteArray out = std::move(m_out);
    m_out.clear();
    return out;
}

} // namespace cli
