#pragma once
// Reads a well-formed XHTML chapter into the control's document: text, pictures, lists and
// simple tables as the editor edits them, and every element's name and attributes, the
// wrappers around paragraphs and the markup the editor cannot edit (svg, math, scripts,
// comments, tables beyond a plain grid) kept in a MarkupTable, so that the writer gives
// back what was read. Chapters that are not well-formed are left to Qt's HTML import.
#include "components/tdx/ChapterHead.h"
#include "components/tdx/Markup.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextList;

namespace pugi {
class xml_node;
}

namespace tdx {

class XhtmlReader {
public:
    XhtmlReader(QTextDocument& document, MarkupTable& markup);

    // Fills the empty document from `utf8` and `head` from its head; false, with nothing
    // read, when the text is not well-formed or not an html document.
    bool read(const QByteArray& utf8, ChapterHead& head);

private:
    struct Run {
        QString text;
        QTextCharFormat format; // for pictures, islands and carriers
        int chain = 0;
        bool plain = true;
    };

    void readHead(const pugi::xml_node& html, ChapterHead& head);
    void flow(const pugi::xml_node& parent);
    void inlineContent(const pugi::xml_node& parent);
    void inlineElement(const pugi::xml_node& node);
    bool table(const pugi::xml_node& node);

    void startBlock(int element);
    void endBlock();
    void ensureBlock();
    void appendText(const char* text);
    void appendSpecial(const QString& text, const QTextCharFormat& format);
    void appendPicture(const pugi::xml_node& node);
    void appendIsland(const pugi::xml_node& node);
    void appendCarrier();

    int elementOf(const pugi::xml_node& node, const QList<QByteArray>& leaveOut = {});
    QTextCharFormat formatFor(int chain);
    QTextList* listFor(const QList<int>& wrappers);

    QTextDocument& m_document;
    MarkupTable& m_markup;
    QByteArray m_source;
    QTextCursor m_cursor;
    QList<int> m_wrappers;
    int m_chain = 0;
    bool m_pre = false;
    bool m_blockOpen = false;
    bool m_reuseBlock = true; // the cursor's block is empty and unused: the next paragraph takes it
    int m_block = 0;
    bool m_lastSpace = true;
    qint64 m_shown = 0;    // characters put into paragraphs so far, white space left out
    qint64 m_appended = 0; // the same with white space
    int m_lastChain = 0;   // the inline element read last, and where it ended
    qint64 m_lastChainEnd = -1;
    QList<Run> m_runs;
    QHash<qint64, QTextCharFormat> m_formats;
    QHash<int, QTextList*> m_lists;
};

// Text of a chapter with its character references resolved: the XML ones and HTML's names.
QString decodeReferences(const char* text);

} // namespace tdx
