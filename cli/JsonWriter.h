#pragma once
// Writes JSON as it goes, without building a document first and without recursion: the
// nesting of a book's trees comes from the book, so neither the stack nor the memory may
// grow with more than the output. Compact by default; indented for people.
#include <QByteArray>
#include <QString>

class QTextStream;

#include <vector>

namespace cli {

class JsonWriter {
public:
    // With a sink, the text goes there in pieces as it is written; without, it is kept for take().
    explicit JsonWriter(bool indented, QTextStream* sink = nullptr);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next member of the open object.
    void key(const QString& name);
    void value(const QString& text);
    void value(int number);
    void value(bool flag);

    // What was written so far and not yet sent to the sink, handed over.
    QByteArray take();
    // Ends the text with a line end and sends what is kept to the sink.
    void endLine();

private:
    void open(char bracket);
    void close(char bracket);
    void beforeValue();
    void newLine();
    void appendString(const QString& text);
    void spill();
    void flush();

    QByteArray m_out;
    std::vector<bool> m_hasMembers; // one entry per open object or array
    bool m_afterKey = false;
    bool m_indented;
    QTextStream* m_sink;
};

} // namespace cli
