#pragma once
// Writes a document as an XHTML 1.1 chapter, UTF-8 without a byte-order mark. Paragraph
// and character formats become inline styles with lengths and text sizes in em, so the
// chapter reads the same in a reading system and comes back the same when opened again.
#include "components/tdx/ChapterHead.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextImageFormat;
class QTextList;
class QTextTable;

namespace tdx {

class XhtmlWriter {
public:
    // The src to write for a picture; an empty result leaves the picture out.
    using PictureSource = std::function<QString(const QTextImageFormat&)>;

    XhtmlWriter(const QTextDocument& document, const ChapterHead& head, PictureSource source);

    QByteArray write();

private:
    struct OpenList {
        int indent;
        const QTextList* list;
    };

    void writeFrame(const QTextFrame* frame);
    void writeTable(const QTextTable* table);
    void writeBlock(const QTextBlock& block);
    void writeInline(const QTextBlock& block);
    void openListFor(const QTextBlock& block);
    void closeLists(int downToIndent = 0);
    QString blockStyle(const QTextBlock& block) const;
    void writeText(const QString& text);
    void writeAnchorIds(const QStringList& names);

    const QTextDocument& m_document;
    const ChapterHead& m_head;
    PictureSource m_source;
    QString m_out;
    QList<OpenList> m_lists;
    QSet<QString> m_ids;
};

QString escapeXml(const QString& text, bool attribute);
bool isXmlName(const QString& name);

} // namespace tdx
