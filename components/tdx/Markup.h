#pragma once
// What a chapter's markup says beyond what the text document holds: each element's name
// and attributes, the wrappers (div, section, blockquote, lists ...) around paragraphs,
// tables' own elements and the parts the control does not edit (islands). Formats carry
// only small ids into this table (see TextProperties.h), so equal markup shares formats
// and an edit keeps what it does not touch. Entries are never removed while a document
// is open: undo may bring back a format that names any of them.
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QTextCharFormat>
#include <QTextBlockFormat>

#include <functional>

namespace tdx {

using Attributes = QList<QPair<QString, QString>>;

struct Element {
    QString name;
    Attributes attributes;

    QString attribute(QLatin1String name) const;
};

// A paragraph: its element (0 for text that stands directly in a wrapper), the wrapper
// instances around it from the outermost, and the formats its markup gives it.
struct BlockMarkup {
    int element = 0;
    QList<int> wrappers;
    QTextBlockFormat format;
    QTextCharFormat charFormat;
};

// The inline elements around a run of text, from the outermost, and the formats they give.
// `chains` names each element's own chain (the element with those around it), so that two
// equal elements in a row stay two.
struct InlineMarkup {
    QList<int> elements;
    QList<int> chains;
    QTextCharFormat format;
};

struct TableMarkup {
    int element = 0;
    QList<int> wrappers;
    int body = 0;     // the tbody element, 0 when rows stand in the table directly
    QList<int> rows;  // tr elements by row
};

// Markup kept as it was read, written back unchanged.
struct Island {
    QByteArray source;
    QString label;
};

class MarkupTable {
public:
    void clear();

    // Ids start at 1; 0 means none.
    int element(const QString& name, const Attributes& attributes);
    const Element& elementAt(int id) const { return m_elements.at(id - 1); }

    // Every wrapper read is an instance of its own, so two equal divs in a row stay two.
    int newWrapper(int element);
    int wrapperElement(int wrapper) const { return m_wrappers.at(wrapper - 1); }

    // A paragraph's markup, shared by paragraphs with equal markup; `make` fills the
    // formats of a new entry.
    int block(int element, const QList<int>& wrappers, const std::function<void(BlockMarkup&)>& make);
    const BlockMarkup* blockAt(int id) const;

    // `second` gives an element equal to the one just before it a chain of its own.
    int inlineChain(int outer, int element, bool second, const std::function<void(InlineMarkup&)>& make);
    const InlineMarkup* inlineAt(int id) const;

    int addTable(TableMarkup table);
    const TableMarkup* tableAt(int id) const;

    int addIsland(Island island);
    const Island* islandAt(int id) const;

private:
    QList<Element> m_elements;
    QHash<QString, int> m_elementIds;
    QList<int> m_wrappers;
    QList<BlockMarkup> m_blocks;
    QHash<QString, int> m_blockIds;
    QList<InlineMarkup> m_inlines;
    QHash<QPair<int, int>, int> m_inlineIds; // (outer chain, element * 2 + second)
    QList<TableMarkup> m_tables;
    QList<Island> m_islands;
};

} // namespace tdx
