#pragma once
// Writes a document as an XHTML 1.1 chapter, UTF-8 without a byte-order mark. What was
// read from a chapter is written back from its MarkupTable: elements with their
// attributes, the wrappers around paragraphs, tables and islands as they were. Only what
// an edit changed is written anew: format changes go into the element's style attribute
// (or a span around the changed text) with lengths and text sizes in em. Text that never
// came from a chapter is written from its formats alone.
#include "components/tdx/ChapterHead.h"
#include "components/tdx/InlineStyle.h"
#include "components/tdx/Markup.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextFragment;
class QTextFrame;
class QTextImageFormat;
class QTextList;
class QTextTable;

namespace tdx {

class XhtmlWriter {
public:
    // The src to write for a picture; an empty result leaves the picture out.
    using PictureSource = std::function<QString(const QTextImageFormat&)>;

    XhtmlWriter(const QTextDocument& document, const ChapterHead& head, const MarkupTable& markup,
                PictureSource source);

    QByteArray write();

private:
    struct OpenList {
        int indent;
        const QTextList* list;
    };
    struct RunPlan {
        QList<int> chains;   // inline elements around the run, as their chains
        const Island* island = nullptr;
        const Element* lineBreak = nullptr; // the br element of the run's line separators
        bool picture = false;
        bool dropCarriers = false;
        QStringList anchors;
        QString href;        // a link the markup does not hold
        QString shift;       // "sup" or "sub" put on in the editor
        Declarations changes;
        QString open, close; // what goes around the text for the edits
    };

    void writeHead();
    void writeFrame(const QTextFrame* frame);
    void writeTable(const QTextTable* table);
    void writeMarkedTable(const QTextTable* table, const TableMarkup& markup);
    void writeBlock(const QTextBlock& block);
    void writePlainBlock(const QTextBlock& block);
    void writeInline(const QTextBlock& block, bool pre);
    const RunPlan& planFor(const QTextBlock& block, const QTextFragment& fragment);
    void writePicture(const QTextImageFormat& image, int count);
    void openListFor(const QTextBlock& block);
    void closeLists(int downToIndent = 0);
    void syncWrappers(const QList<int>& wrappers);
    void syncInline(const QList<int>& chains);
    void writeStartTag(const QString& name, const Attributes& attributes, const Declarations& changes = {});
    void writeAttributes(const Attributes& attributes, const Declarations& changes = {});
    void writeText(const QString& text, bool pre);
    void writeBreaks(const QString& text, const Element& element, bool pre);
    void writeAnchorIds(const QStringList& names);
    int firstListWrapper(const QList<int>& wrappers) const;

    const QTextDocument& m_document;
    const ChapterHead& m_head;
    const MarkupTable& m_markup;
    PictureSource m_source;
    QString m_out;
    QList<OpenList> m_lists;
    QList<int> m_wrappers;          // wrapper instances open now
    QList<int> m_inline;            // inline elements open now, as their chains
    QList<int> m_anonymousWrappers; // wrappers of the text just written without an element
    bool m_afterAnonymous = false;
    QSet<QString> m_ids;
    QHash<qint64, RunPlan> m_plans;
    // the paragraph format the last plan was made for
    int m_planBlockFormat = -1;
    const BlockMarkup* m_planBlock = nullptr;
    int m_planLevel = 0;
    bool m_planLevelChanged = false;
    qint64 m_planKey = 0;
};

QString escapeXml(const QString& text, bool attribute);
bool isXmlName(const QString& name);

} // namespace tdx
