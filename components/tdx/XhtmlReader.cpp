#include "components/tdx/XhtmlReader.h"

#include "components/tdx/ChapterHead.h"
#include "components/tdx/HtmlEntities.h"
#include "components/tdx/InlineStyle.h"
#include "components/tdx/TextProperties.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScopeGuard>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <pugixml.hpp>

#include <cstring>

namespace tdx {

namespace {

enum class Kind { Inline, Block, Island, Break, Picture, Table };

// Elements that hold paragraphs, or are paragraphs when they hold only text.
const QSet<QByteArray>& blockNames()
{
    static const QSet<QByteArray> names{
        "p", "h1", "h2", "h3", "h4", "h5", "h6", "pre", "address", "li", "dt", "dd", "div", "blockquote",
        "section", "article", "aside", "header", "footer", "nav", "figure", "figcaption", "center", "main",
        "hgroup", "caption", "dl", "ul", "ol", "fieldset", "legend", "details", "summary", "body"};
    return names;
}

// What the editor cannot edit as text; written back as it was read.
const QSet<QByteArray>& islandNames()
{
    static const QSet<QByteArray> names{
        "svg", "math", "object", "embed", "script", "noscript", "iframe", "video", "audio", "canvas", "applet",
        "hr", "style", "form", "input", "button", "select", "textarea", "map", "frameset", "template"};
    return names;
}

Kind kindOf(const char* name)
{
    const QByteArray key = QByteArray::fromRawData(name, qsizetype(std::strlen(name)));
    if (key == "br")
        return Kind::Break;
    if (key == "img")
        return Kind::Picture;
    if (key == "table")
        return Kind::Table;
    if (islandNames().contains(key) || key.contains(':'))
        return Kind::Island;
    if (blockNames().contains(key))
        return Kind::Block;
    return Kind::Inline;
}

// Block children make an element a wrapper; an inline element around them counts too.
bool holdsBlocks(const pugi::xml_node& node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const Kind kind = kindOf(child.name());
        if (kind == Kind::Block || kind == Kind::Table || std::strcmp(child.name(), "hr") == 0)
            return true;
        if (kind == Kind::Inline && holdsBlocks(child))
            return true;
    }
    return false;
}

bool isWhiteSpace(char16_t c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

bool onlyWhiteSpace(const char* text)
{
    for (; *text; ++text)
        if (!isWhiteSpace(char16_t(*text)))
            return false;
    return true;
}

bool startsAt(const QByteArray& source, qsizetype at, const char* text)
{
    return at >= 0 && at < source.size() && std::strncmp(source.constData() + at, text, std::strlen(text)) == 0;
}

// The end of the element, comment or instruction that starts at `start` ('<').
qsizetype markupEnd(const QByteArray& source, qsizetype start)
{
    if (startsAt(source, start, "<!--")) {
        const qsizetype end = source.indexOf("-->", start + 4);
        return end < 0 ? -1 : end + 3;
    }
    if (startsAt(source, start, "<?")) {
        const qsizetype end = source.indexOf("?>", start + 2);
        return end < 0 ? -1 : end + 2;
    }
    int depth = 0;
    qsizetype i = start;
    const qsizetype size = source.size();
    while (i >= 0 && i < size) {
        i = source.indexOf('<', i);
        if (i < 0)
            return -1;
        const bool comment = startsAt(source, i, "<!--");
        const bool instruction = startsAt(source, i, "<?");
        if (comment || instruction || startsAt(source, i, "<![CDATA[")) {
            const char* close = comment ? "-->" : instruction ? "?>" : "]]>";
            const qsizetype end = source.indexOf(close, i + 2);
            if (end < 0)
                return -1;
            i = end + qsizetype(std::strlen(close));
            continue;
        }
        const bool closing = startsAt(source, i, "</");
        qsizetype j = i + 1;
        char quote = 0;
        for (; j < size; ++j) {
            const char c = source[j];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (j >= size)
            return -1;
        if (closing)
            --depth;
        else if (source[j - 1] != '/')
            ++depth;
        i = j + 1;
        if (depth == 0)
            return i;
    }
    return -1;
}

// Where a node's markup starts in the source.
qsizetype markupStart(const pugi::xml_node& node)
{
    const ptrdiff_t offset = node.offset_debug();
    if (offset < 0)
        return -1;
    switch (node.type()) {
    case pugi::node_element: return offset - 1;
    case pugi::node_comment: return offset - 4;
    case pugi::node_pi: return offset - 2;
    default: return -1;
    }
}

bool isListName(const QString& name) { return name == QLatin1String("ul") || name == QLatin1String("ol"); }

QTextListFormat::Style listStyle(const Element& list)
{
    const QString style = list.attribute(QLatin1String("style")) + ' ' + list.attribute(QLatin1String("type"));
    if (style.contains(QLatin1String("circle")))
        return QTextListFormat::ListCircle;
    if (style.contains(QLatin1String("square")))
        return QTextListFormat::ListSquare;
    if (style.contains(QLatin1String("lower-alpha")) || style.contains(QLatin1String("lower-latin")))
        return QTextListFormat::ListLowerAlpha;
    if (style.contains(QLatin1String("upper-alpha")) || style.contains(QLatin1String("upper-latin")))
        return QTextListFormat::ListUpperAlpha;
    if (style.contains(QLatin1String("lower-roman")))
        return QTextListFormat::ListLowerRoman;
    if (style.contains(QLatin1String("upper-roman")))
        return QTextListFormat::ListUpperRoman;
    if (style.contains(QLatin1String("none")))
        return QTextListFormat::ListStyleUndefined;
    return list.name == QLatin1String("ol") ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc;
}

// What a paragraph element and the wrappers around it show in the editor.
void blockLook(const Element& element, const QList<Element>& wrappers, BlockMarkup& markup)
{
    double indent = 0;
    for (const Element& wrapper : wrappers)
        if (wrapper.name == QLatin1String("blockquote") || wrapper.name == QLatin1String("dd"))
            indent += 40;
    const QString& name = element.name;
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
        const int level = name[1].unicode() - '0';
        markup.format.setHeadingLevel(level);
        markup.format.setTopMargin(12);
        markup.format.setBottomMargin(6);
        markup.charFormat.setFontWeight(QFont::Bold);
        markup.charFormat.setProperty(QTextFormat::FontSizeAdjustment, qMax(-2, 4 - level));
    } else if (name == QLatin1String("pre")) {
        markup.format.setNonBreakableLines(true);
        markup.charFormat.setFontFamilies({QStringLiteral("monospace")});
    } else if (name == QLatin1String("p") || name == QLatin1String("div")) {
        markup.format.setBottomMargin(6);
    } else if (name == QLatin1String("dd") || name == QLatin1String("blockquote")) {
        indent += 40;
    } else if (name == QLatin1String("center")) {
        markup.format.setAlignment(Qt::AlignHCenter);
    } else if (name == QLatin1String("th")) {
        markup.charFormat.setFontWeight(QFont::Bold);
        markup.format.setAlignment(Qt::AlignHCenter);
    }
    if (indent > 0)
        markup.format.setLeftMargin(indent);
    const QString style = element.attribute(QLatin1String("style"));
    if (!style.isEmpty())
        applyInlineStyle(style, &markup.format, markup.charFormat);
}

// What an inline element shows in the editor.
void inlineLook(const Element& element, QTextCharFormat& format)
{
    const QString& name = element.name;
    if (name == QLatin1String("b") || name == QLatin1String("strong")) {
        format.setFontWeight(QFont::Bold);
    } else if (name == QLatin1String("i") || name == QLatin1String("em") || name == QLatin1String("cite")
               || name == QLatin1String("var") || name == QLatin1String("dfn")) {
        format.setFontItalic(true);
    } else if (name == QLatin1String("u") || name == QLatin1String("ins")) {
        format.setFontUnderline(true);
    } else if (name == QLatin1String("s") || name == QLatin1String("strike") || name == QLatin1String("del")) {
        format.setFontStrikeOut(true);
    } else if (name == QLatin1String("sup")) {
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (name == QLatin1String("sub")) {
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    } else if (name == QLatin1String("code") || name == QLatin1String("tt") || name == QLatin1String("kbd")
               || name == QLatin1String("samp")) {
        format.setFontFamilies({QStringLiteral("monospace")});
    } else if (name == QLatin1String("small")) {
        format.setProperty(QTextFormat::FontSizeAdjustment, -1);
    } else if (name == QLatin1String("big")) {
        format.setProperty(QTextFormat::FontSizeAdjustment, 1);
    } else if (name == QLatin1String("a")) {
        const QString href = element.attribute(QLatin1String("href"));
        QString anchor = element.attribute(QLatin1String("id"));
        if (anchor.isEmpty())
            anchor = element.attribute(QLatin1String("name"));
        if (!href.isEmpty() || !anchor.isEmpty())
            format.setAnchor(true);
        if (!href.isEmpty()) {
            format.setAnchorHref(href);
            format.setFontUnderline(true);
            format.setForeground(QGuiApplication::palette().link());
        }
        if (!anchor.isEmpty())
            format.setAnchorNames({anchor});
    }
    const QString style = element.attribute(QLatin1String("style"));
    if (!style.isEmpty())
        applyInlineStyle(style, nullptr, format);
}

bool numeric(const QString& value, double& out)
{
    bool ok = false;
    out = (value.endsWith(QLatin1String("px")) ? value.chopped(2) : value).toDouble(&ok);
    return ok && out > 0;
}

} // namespace

QString decodeReferences(const char* text)
{
    const char* amp = std::strchr(text, '&');
    if (!amp)
        return QString::fromUtf8(text);
    QByteArray out;
    out.reserve(qsizetype(std::strlen(text)));
    const char* from = text;
    while (amp) {
        out.append(from, amp - from);
        const char* semicolon = std::strchr(amp, ';');
        const char* name = amp + 1;
        char32_t code = 0;
        if (semicolon && semicolon - name <= 32 && semicolon > name) {
            const size_t length = size_t(semicolon - name);
            if (*name == '#') {
                bool ok = false;
                const QByteArray number(name + 1, qsizetype(length - 1));
                code = (number.startsWith('x') || number.startsWith('X')) ? number.mid(1).toUInt(&ok, 16)
                                                                           : number.toUInt(&ok, 10);
                if (!ok || code > 0x10FFFF)
                    code = 0;
            } else if (length == 3 && std::strncmp(name, "amp", 3) == 0) {
                code = '&';
            } else if (length == 2 && std::strncmp(name, "lt", 2) == 0) {
                code = '<';
            } else if (length == 2 && std::strncmp(name, "gt", 2) == 0) {
                code = '>';
            } else if (length == 4 && std::strncmp(name, "quot", 4) == 0) {
                code = '"';
            } else if (length == 4 && std::strncmp(name, "apos", 4) == 0) {
                code = '\'';
            } else {
                code = htmlEntity(name, length);
            }
        }
        if (code) {
            out.append(QString::fromUcs4(&code, 1).toUtf8());
            from = semicolon + 1;
        } else {
            out.append('&'); // not a reference: the text says "&"
            from = amp + 1;
        }
        amp = std::strchr(from, '&');
    }
    out.append(from);
    return QString::fromUtf8(out);
}

XhtmlReader::XhtmlReader(QTextDocument& document, MarkupTable& markup)
    : m_document(document), m_markup(markup), m_cursor(&document)
{
}

bool XhtmlReader::read(const QByteArray& utf8, ChapterHead& head)
{
    // References are resolved here, not by the parser, so that HTML's names are known too.
    const unsigned options = pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol | pugi::parse_comments
                           | pugi::parse_pi | pugi::parse_ws_pcdata;
    pugi::xml_document doc;
    if (!doc.load_buffer(utf8.constData(), size_t(utf8.size()), options, pugi::encoding_utf8))
        return false;
    const pugi::xml_node html = doc.document_element();
    const pugi::xml_node body = html.child("body");
    if (std::strcmp(html.name(), "html") != 0 || !body)
        return false;
    m_source = utf8;
    readHead(html, head);

    const bool undo = m_document.isUndoRedoEnabled();
    m_document.setUndoRedoEnabled(false); // a chapter being read is not an edit
    m_cursor = QTextCursor(&m_document);
    m_cursor.beginEditBlock();
    flow(body);
    endBlock();
    m_cursor.endEditBlock();
    m_document.setUndoRedoEnabled(undo);
    return true;
}

void XhtmlReader::readHead(const pugi::xml_node& html, ChapterHead& head)
{
    head = ChapterHead();
    head.read(html);
    for (const pugi::xml_attribute& a : html.attributes())
        head.htmlAttributes.append({QString::fromUtf8(a.name()), decodeReferences(a.value())});
    for (const pugi::xml_attribute& a : html.child("body").attributes())
        head.bodyAttributes.append({QString::fromUtf8(a.name()), decodeReferences(a.value())});
    const pugi::xml_node element = html.child("head");
    if (!element.child("title"))
        return; // written from its parts, with a title
    const qsizetype start = markupStart(element);
    const qsizetype end = start < 0 ? -1 : markupEnd(m_source, start);
    if (end > start)
        head.source = QString::fromUtf8(m_source.mid(start, end - start));
}

int XhtmlReader::elementOf(const pugi::xml_node& node, const QList<QByteArray>& leaveOut)
{
    Attributes attributes;
    for (const pugi::xml_attribute& a : node.attributes()) {
        if (!leaveOut.isEmpty() && leaveOut.contains(QByteArray(a.name())))
            continue;
        attributes.append({QString::fromUtf8(a.name()), decodeReferences(a.value())});
    }
    return m_markup.element(QString::fromUtf8(node.name()), attributes);
}

void XhtmlReader::flow(const pugi::xml_node& parent)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            if (m_blockOpen || !onlyWhiteSpace(child.value())) {
                ensureBlock();
                appendText(child.value());
            }
            continue;
        case pugi::node_comment:
        case pugi::node_pi:
            ensureBlock();
            appendIsland(child);
            continue;
        case pugi::node_element:
            break;
        default:
            continue;
        }
        const Kind kind = kindOf(child.name());
        if (kind == Kind::Table) {
            endBlock();
            if (!table(child)) {
                ensureBlock();
                appendIsland(child);
            }
        } else if (kind == Kind::Island) {
            ensureBlock();
            appendIsland(child);
        } else if (holdsBlocks(child)) {
            endBlock();
            m_wrappers.append(m_markup.newWrapper(elementOf(child)));
            flow(child);
            endBlock();
            m_wrappers.removeLast();
        } else if (kind == Kind::Block) {
            endBlock();
            m_pre = std::strcmp(child.name(), "pre") == 0;
            startBlock(elementOf(child));
            inlineContent(child);
            endBlock();
            m_pre = false;
        } else {
            ensureBlock();
            inlineElement(child);
        }
    }
    endBlock();
}

void XhtmlReader::inlineContent(const pugi::xml_node& parent)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            appendText(child.value());
            break;
        case pugi::node_comment:
        case pugi::node_pi:
            appendIsland(child);
            break;
        case pugi::node_element:
            inlineElement(child);
            break;
        default:
            break;
        }
    }
}

void XhtmlReader::inlineElement(const pugi::xml_node& node)
{
    switch (kindOf(node.name())) {
    case Kind::Break: {
        QTextCharFormat format = formatFor(m_chain);
        format.setProperty(kBreakElement, elementOf(node));
        appendSpecial(QString(QChar::LineSeparator), format);
        return;
    }
    case Kind::Picture:
        appendPicture(node);
        return;
    case Kind::Island:
    case Kind::Table:
        appendIsland(node);
        return;
    default:
        break;
    }
    const int outer = m_chain;
    const int element = elementOf(node);
    auto look = [&](InlineMarkup& markup) { inlineLook(m_markup.elementAt(element), markup.format); };
    m_chain = m_markup.inlineChain(outer, element, false, look);
    if (m_chain == m_lastChain && m_appended == m_lastChainEnd)
        m_chain = m_markup.inlineChain(outer, element, true, look); // right after an equal one
    const int chain = m_chain;
    // An element that shows nothing (empty, or white space only) needs a character to
    // carry it, or it is lost with its id.
    const qint64 shown = m_shown;
    inlineContent(node);
    if (m_shown == shown)
        appendCarrier();
    m_chain = outer;
    m_lastChain = chain;
    m_lastChainEnd = m_appended;
}

QTextList* XhtmlReader::listFor(const QList<int>& wrappers)
{
    int depth = 0;
    int innermost = 0;
    for (int wrapper : wrappers) {
        if (isListName(m_markup.elementAt(m_markup.wrapperElement(wrapper)).name)) {
            ++depth;
            innermost = wrapper;
        }
    }
    if (!innermost)
        return nullptr;
    if (QTextList* list = m_lists.value(innermost))
        return list;
    QTextListFormat format;
    format.setStyle(listStyle(m_markup.elementAt(m_markup.wrapperElement(innermost))));
    format.setIndent(depth);
    QTextList* list = m_cursor.createList(format);
    m_lists.insert(innermost, list);
    return nullptr; // the cursor's block is in it already
}

void XhtmlReader::startBlock(int element)
{
    m_block = m_markup.block(element, m_wrappers, [&](BlockMarkup& markup) {
        QList<Element> wrappers;
        for (int wrapper : m_wrappers)
            wrappers.append(m_markup.elementAt(m_markup.wrapperElement(wrapper)));
        blockLook(element ? m_markup.elementAt(element) : Element(), wrappers, markup);
    });
    const BlockMarkup* markup = m_markup.blockAt(m_block);
    QTextBlockFormat format = markup->format;
    format.setProperty(kBlockMarkup, m_block);
    if (m_reuseBlock) {
        m_cursor.setBlockFormat(format);
        m_cursor.mergeBlockCharFormat(markup->charFormat); // a cell's own format (its spans) lives there
        m_reuseBlock = false;
    } else {
        m_cursor.insertBlock(format, markup->charFormat);
    }
    if (QTextList* list = listFor(m_wrappers))
        list->add(m_cursor.block());
    m_blockOpen = true;
    m_lastSpace = true;
    m_runs.clear();
}

void XhtmlReader::ensureBlock()
{
    if (!m_blockOpen)
        startBlock(0);
}

QTextCharFormat XhtmlReader::formatFor(int chain)
{
    const qint64 key = (qint64(m_block) << 32) | quint32(chain);
    if (const auto it = m_formats.constFind(key); it != m_formats.cend())
        return it.value();
    QTextCharFormat format = m_markup.blockAt(m_block)->charFormat;
    if (const InlineMarkup* markup = m_markup.inlineAt(chain)) {
        format.merge(markup->format);
        format.setProperty(kInlineMarkup, chain);
    }
    m_formats.insert(key, format);
    return format;
}

void XhtmlReader::endBlock()
{
    if (!m_blockOpen)
        return;
    m_blockOpen = false;
    if (!m_pre && !m_runs.isEmpty() && m_runs.last().plain && m_runs.last().text.endsWith(' '))
        m_runs.last().text.chop(1);
    for (const Run& run : std::as_const(m_runs)) {
        if (run.text.isEmpty())
            continue;
        m_cursor.insertText(run.text, run.plain ? formatFor(run.chain) : run.format);
    }
    m_runs.clear();
}

void XhtmlReader::appendText(const char* text)
{
    const QString decoded = decodeReferences(text);
    if (decoded.isEmpty())
        return;
    if (m_runs.isEmpty() || !m_runs.last().plain || m_runs.last().chain != m_chain)
        m_runs.append({QString(), QTextCharFormat(), m_chain, true});
    QString& out = m_runs.last().text;
    const qsizetype before = out.size();
    const auto count = qScopeGuard([&] { m_appended += out.size() - before; });
    out.reserve(out.size() + decoded.size());
    if (m_pre) {
        for (QChar c : decoded)
            out += c == '\n' ? QChar(QChar::LineSeparator) : c;
        m_shown += decoded.size();
        return;
    }
    for (QChar c : decoded) {
        if (isWhiteSpace(c.unicode())) {
            if (!m_lastSpace)
                out += ' ';
            m_lastSpace = true;
        } else {
            out += c;
            m_lastSpace = false;
            ++m_shown;
        }
    }
}

void XhtmlReader::appendSpecial(const QString& text, const QTextCharFormat& format)
{
    m_runs.append({text, format, m_chain, false});
    m_lastSpace = false;
    ++m_shown;
    ++m_appended;
}

void XhtmlReader::appendCarrier()
{
    QTextCharFormat format = formatFor(m_chain);
    format.setProperty(kEmptyElement, true);
    appendSpecial(QString(QChar(kBookmarkCarrier)), format);
}

void XhtmlReader::appendPicture(const pugi::xml_node& node)
{
    QTextImageFormat format;
    format.merge(formatFor(m_chain));
    format.setName(decodeReferences(node.attribute("src").value()));
    format.setProperty(kPictureAlt, decodeReferences(node.attribute("alt").value()));
    QList<QByteArray> leaveOut{"src", "alt"};
    double size = 0;
    bool sized = false;
    if (numeric(decodeReferences(node.attribute("width").value()), size)) {
        format.setWidth(size);
        leaveOut.append("width");
        sized = true;
    }
    if (numeric(decodeReferences(node.attribute("height").value()), size)) {
        format.setHeight(size);
        leaveOut.append("height");
        sized = true;
    }
    format.setProperty(kPictureSized, sized);
    format.setProperty(kImageElement, elementOf(node, leaveOut));
    // An equation we wrote comes back editable: its source is the alt text.
    const QStringList classes = decodeReferences(node.attribute("class").value()).split(' ', Qt::SkipEmptyParts);
    if (classes.contains(QLatin1String(kEquationClass)))
        format.setProperty(kEquationSource, format.property(kPictureAlt));
    appendSpecial(QString(QChar::ObjectReplacementCharacter), format);
}

void XhtmlReader::appendIsland(const pugi::xml_node& node)
{
    const qsizetype start = markupStart(node);
    const qsizetype end = start < 0 ? -1 : markupEnd(m_source, start);
    if (end <= start)
        return;
    Island island;
    island.source = m_source.mid(start, end - start);
    island.label = node.type() == pugi::node_comment ? QStringLiteral("<!-- -->") : QString::fromUtf8(node.name());
    QTextCharFormat format = formatFor(m_chain);
    format.setObjectType(kIslandObject);
    format.setProperty(kIsland, m_markup.addIsland(std::move(island)));
    appendSpecial(QString(QChar::ObjectReplacementCharacter), format);
}

// A plain grid: rows directly in the table or in one tbody, cells holding only text, and
// spans that fill the grid. Anything else stays an island.
bool XhtmlReader::table(const pugi::xml_node& node)
{
    struct Cell {
        pugi::xml_node node;
        int row, column, rows, columns;
    };
    pugi::xml_node rowsParent = node;
    int body = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata && onlyWhiteSpace(child.value()))
            continue;
        if (child.type() != pugi::node_element)
            return false;
        if (std::strcmp(child.name(), "tbody") == 0 && !body && rowsParent == node) {
            rowsParent = child;
            body = elementOf(child);
        } else if (std::strcmp(child.name(), "tr") != 0 || body) {
            return false;
        }
    }
    QList<int> rowElements;
    QList<Cell> cells;
    QList<QList<bool>> taken;
    int columns = 0;
    for (pugi::xml_node tr = rowsParent.first_child(); tr; tr = tr.next_sibling()) {
        if (tr.type() == pugi::node_pcdata && onlyWhiteSpace(tr.value()))
            continue;
        if (tr.type() != pugi::node_element || std::strcmp(tr.name(), "tr") != 0)
            return false;
        const int row = int(rowElements.size());
        rowElements.append(elementOf(tr));
        taken.resize(qMax<qsizetype>(taken.size(), row + 1));
        int column = 0;
        for (pugi::xml_node td = tr.first_child(); td; td = td.next_sibling()) {
            if (td.type() == pugi::node_pcdata && onlyWhiteSpace(td.value()))
                continue;
            if (td.type() != pugi::node_element || (std::strcmp(td.name(), "td") != 0 && std::strcmp(td.name(), "th") != 0)
                || holdsBlocks(td))
                return false;
            while (column < taken[row].size() && taken[row][column])
                ++column;
            const int rowSpan = qBound(1, td.attribute("rowspan").as_int(1), 1000);
            const int columnSpan = qBound(1, td.attribute("colspan").as_int(1), 1000);
            cells.append({td, row, column, rowSpan, columnSpan});
            taken.resize(qMax<qsizetype>(taken.size(), row + rowSpan));
            for (int r = row; r < row + rowSpan; ++r) {
                taken[r].resize(qMax<qsizetype>(taken[r].size(), column + columnSpan));
                for (int c = column; c < column + columnSpan; ++c)
                    taken[r][c] = true;
            }
            column += columnSpan;
            columns = qMax(columns, column);
        }
    }
    if (rowElements.isEmpty() || columns == 0 || taken.size() != rowElements.size())
        return false;
    for (const QList<bool>& row : std::as_const(taken))
        if (row.size() != columns || row.contains(false))
            return false;

    TableMarkup markup;
    markup.element = elementOf(node);
    markup.wrappers = m_wrappers;
    markup.body = body;
    markup.rows = rowElements;
    QTextTableFormat format;
    const QString border = decodeReferences(node.attribute("border").value());
    format.setBorder(border.toDouble() > 0 ? 1 : 0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setProperty(kTableMarkup, m_markup.addTable(markup));
    if (!m_reuseBlock)
        m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat()); // nothing of the paragraph before
    QTextTable* table = m_cursor.insertTable(int(rowElements.size()), columns, format);
    const QList<int> outerWrappers = m_wrappers;
    m_wrappers.clear();
    for (const Cell& cell : std::as_const(cells)) {
        if (cell.rows > 1 || cell.columns > 1)
            table->mergeCells(cell.row, cell.column, cell.rows, cell.columns);
        m_cursor = table->cellAt(cell.row, cell.column).firstCursorPosition();
        m_reuseBlock = true;
        startBlock(elementOf(cell.node, {"rowspan", "colspan"}));
        inlineContent(cell.node);
        endBlock();
    }
    m_wrappers = outerWrappers;
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_reuseBlock = true;
    return true;
}

} // namespace tdx
