#include "components/tdx/XhtmlWriter.h"

#include "components/tdx/CssUnits.h"
#include "components/tdx/TextProperties.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace tdx {

namespace {

QString number(double value)
{
    QString s = QString::number(value, 'f', 3);
    while (s.contains('.') && (s.endsWith('0') || s.endsWith('.')))
        s.chop(1);
    return s == "-0" ? QStringLiteral("0") : s;
}

QString pixelsToEm(double pixels) { return number(pixels / kBasePixelSize) + "em"; }

bool isValidXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
        || (c >= 0xE000 && c <= 0xFFFD && c != 0xFFFC) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Appends `text` escaped; characters XML cannot hold are left out.
void appendEscaped(QString& out, QStringView text, bool attribute)
{
    const QChar* data = text.data();
    const qsizetype size = text.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c >= 0x20 && c < 0xD800 && c != '&' && c != '<' && c != '>' && c != '"')
            continue;
        out.append(data + from, i - from);
        from = i + 1;
        switch (c) {
        case '&': out += QLatin1String("&amp;"); continue;
        case '<': out += QLatin1String("&lt;"); continue;
        case '>': out += QLatin1String("&gt;"); continue;
        case '"': out += attribute ? QLatin1String("&quot;") : QLatin1String("\""); continue;
        case '\n':
        case '\r':
        case '\t':
            if (attribute)
                out += QStringLiteral("&#%1;").arg(uint(c));
            else
                out += QChar(c);
            continue;
        default:
            break;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < size && data[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, data[i + 1].unicode());
            ++i;
            from = i + 1;
            if (isValidXmlChar(code))
                out.append(data + i - 1, 2);
            continue;
        }
        if (isValidXmlChar(code))
            out += QChar(c);
    }
    out.append(data + from, size - from);
}

QString listTag(const QTextListFormat& format)
{
    switch (format.style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return QStringLiteral("ul");
    default:
        return QStringLiteral("ol");
    }
}

QString listStyleType(const QTextListFormat& format)
{
    switch (format.style()) {
    case QTextListFormat::ListCircle: return QStringLiteral("circle");
    case QTextListFormat::ListSquare: return QStringLiteral("square");
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("lower-alpha");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("upper-alpha");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("lower-roman");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("upper-roman");
    default: return QString();
    }
}

void add(Declarations& declarations, const char* name, const QString& value)
{
    declarations.append(QPair<QString, QString>(QString::fromLatin1(name), value));
}

double lineHeightOf(const QTextBlockFormat& f)
{
    return f.lineHeightType() == QTextBlockFormat::ProportionalHeight && f.lineHeight() > 0 ? f.lineHeight() : 100;
}

// The paragraph formats that differ from what the markup gives.
Declarations blockChanges(const QTextBlock& block, const QTextBlockFormat& given)
{
    const QTextBlockFormat f = block.blockFormat();
    Declarations changes;
    if (f.hasProperty(QTextFormat::BlockAlignment)) {
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (!given.hasProperty(QTextFormat::BlockAlignment) || a != (given.alignment() & Qt::AlignHorizontal_Mask)) {
            if (a & Qt::AlignHCenter)
                add(changes, "text-align", "center");
            else if (a & Qt::AlignJustify)
                add(changes, "text-align", "justify");
            else if (a & Qt::AlignRight)
                add(changes, "text-align", "right");
            else if (a & Qt::AlignLeft)
                add(changes, "text-align", "left");
        }
    }
    if (qAbs(f.leftMargin() - given.leftMargin()) > 0.01 && !block.textList())
        add(changes, "margin-left", pixelsToEm(f.leftMargin()));
    if (qAbs(f.textIndent() - given.textIndent()) > 0.01)
        add(changes, "text-indent", pixelsToEm(f.textIndent()));
    if (qAbs(lineHeightOf(f) - lineHeightOf(given)) > 0.01)
        add(changes, "line-height", number(lineHeightOf(f)) + '%');
    return changes;
}

QString styleText(const Declarations& declarations)
{
    QStringList parts;
    for (const auto& [name, value] : declarations)
        parts << name + ':' + value;
    return parts.join(';');
}

bool isBold(const QTextCharFormat& f) { return f.fontWeight() >= QFont::DemiBold; }

bool hasUnderlineProperty(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::TextUnderlineStyle) || f.hasProperty(QTextFormat::FontUnderline);
}

// The character formats that differ from what the markup gives; a format the text does
// not set is taken as given.
Declarations charChanges(const QTextCharFormat& f, const QTextCharFormat& given)
{
    Declarations changes;
    if (f.hasProperty(QTextFormat::FontWeight) && isBold(f) != isBold(given))
        add(changes, "font-weight", isBold(f) ? "bold" : "normal");
    if (f.hasProperty(QTextFormat::FontItalic) && f.fontItalic() != given.fontItalic())
        add(changes, "font-style", f.fontItalic() ? "italic" : "normal");
    const bool underline = hasUnderlineProperty(f) ? f.fontUnderline() : given.fontUnderline();
    const bool strike = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : given.fontStrikeOut();
    if (underline != given.fontUnderline() || strike != given.fontStrikeOut()) {
        QStringList decoration;
        if (underline)
            decoration << "underline";
        if (strike)
            decoration << "line-through";
        add(changes, "text-decoration", decoration.isEmpty() ? QStringLiteral("none") : decoration.join(' '));
    }
    if (f.fontPointSize() > 0 && qAbs(f.fontPointSize() - given.fontPointSize()) > 0.01)
        add(changes, "font-size", number(f.fontPointSize() / kBasePointSize) + "em");
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() == Qt::SolidPattern) {
        const QColor color = f.foreground().color();
        if (!(given.hasProperty(QTextFormat::ForegroundBrush) && given.foreground().color() == color))
            add(changes, "color", color.name());
    }
    return changes;
}

} // namespace

QString escapeXml(const QString& text, bool attribute)
{
    QString out;
    out.reserve(text.size() + 8);
    appendEscaped(out, text, attribute);
    return out;
}

bool isXmlName(const QString& name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == '_'))
        return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == '_' || c == '-' || c == '.'))
            return false;
    return true;
}

XhtmlWriter::XhtmlWriter(const QTextDocument& document, const ChapterHead& head, const MarkupTable& markup,
                         PictureSource source)
    : m_document(document), m_head(head), m_markup(markup), m_source(std::move(source))
{
}

QByteArray XhtmlWriter::write()
{
    m_out.clear();
    m_out.reserve(m_document.characterCount() * 2 + 4096);
    m_ids.clear();
    m_out += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
                           "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n");
    writeHead();
    const qsizetype bodyStart = m_out.size();
    writeFrame(m_document.rootFrame());
    closeLists();
    syncWrappers({});
    if (m_out.size() == bodyStart)
        m_out += QLatin1String("<p></p>"); // a body needs at least one block
    // No white space after the last block: read again, it would join the block's text.
    while (m_out.endsWith('\n'))
        m_out.chop(1);
    m_out += QLatin1String("</body></html>"); // nothing after, or it joins the last paragraph too
    return m_out.toUtf8();
}

void XhtmlWriter::writeHead()
{
    if (!m_head.source.isEmpty()) {
        Attributes html = m_head.htmlAttributes;
        bool hasNamespace = false;
        for (const auto& attribute : html)
            hasNamespace = hasNamespace || attribute.first == QLatin1String("xmlns");
        if (!hasNamespace)
            html.prepend(QPair<QString, QString>(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/1999/xhtml")));
        writeStartTag(QStringLiteral("html"), html);
        m_out += '\n' + m_head.source + '\n';
        writeStartTag(QStringLiteral("body"), m_head.bodyAttributes);
        m_out += '\n';
        return;
    }
    m_out += QLatin1String("<html xmlns=\"http://www.w3.org/1999/xhtml\"");
    if (!m_head.language.isEmpty() && isXmlName(QString(m_head.language).remove('-').prepend('x')))
        m_out += QStringLiteral(" xml:lang=\"%1\"").arg(escapeXml(m_head.language, true));
    m_out += QLatin1String(">\n<head>\n<title>") + escapeXml(m_head.title, false) + QLatin1String("</title>\n");
    for (const auto& link : m_head.links) {
        m_out += QLatin1String("<link");
        for (const auto& [name, value] : link)
            if (isXmlName(QString(name).remove(':')))
                m_out += QStringLiteral(" %1=\"%2\"").arg(name, escapeXml(value, true));
        m_out += QLatin1String(" />\n");
    }
    for (const QString& style : m_head.styles)
        m_out += QLatin1String("<style type=\"text/css\">") + escapeXml(style, false) + QLatin1String("</style>\n");
    m_out += QLatin1String("</head>\n<body>\n");
}

void XhtmlWriter::writeStartTag(const QString& name, const Attributes& attributes, const Declarations& changes)
{
    m_out += '<';
    m_out += name;
    writeAttributes(attributes, changes);
    m_out += '>';
}

// An id is written once: a paragraph split in two keeps it on the first half only.
void XhtmlWriter::writeAttributes(const Attributes& attributes, const Declarations& changes)
{
    bool styled = false;
    for (const auto& [name, value] : attributes) {
        if (name == QLatin1String("id")) {
            if (m_ids.contains(value))
                continue;
            m_ids.insert(value);
        }
        m_out += ' ';
        m_out += name;
        m_out += QLatin1String("=\"");
        if (name == QLatin1String("style") && !changes.isEmpty()) {
            appendEscaped(m_out, mergeInlineStyle(value, changes), true);
            styled = true;
        } else {
            appendEscaped(m_out, value, true);
        }
        m_out += '"';
    }
    if (!styled && !changes.isEmpty()) {
        m_out += QLatin1String(" style=\"");
        appendEscaped(m_out, styleText(changes), true);
        m_out += '"';
    }
}

int XhtmlWriter::firstListWrapper(const QList<int>& wrappers) const
{
    for (int i = 0; i < wrappers.size(); ++i) {
        const QString& name = m_markup.elementAt(m_markup.wrapperElement(wrappers[i])).name;
        if (name == QLatin1String("ul") || name == QLatin1String("ol"))
            return i;
    }
    return -1;
}

void XhtmlWriter::syncWrappers(const QList<int>& wrappers)
{
    qsizetype common = 0;
    while (common < m_wrappers.size() && common < wrappers.size() && m_wrappers[common] == wrappers[common])
        ++common;
    if (common == m_wrappers.size() && common == wrappers.size())
        return;
    closeLists();
    while (m_wrappers.size() > common) {
        m_out += QLatin1String("</") + m_markup.elementAt(m_markup.wrapperElement(m_wrappers.last())).name
               + QLatin1String(">\n");
        m_wrappers.removeLast();
    }
    for (qsizetype i = common; i < wrappers.size(); ++i) {
        const Element& element = m_markup.elementAt(m_markup.wrapperElement(wrappers[i]));
        writeStartTag(element.name, element.attributes);
        m_out += '\n';
        m_wrappers.append(wrappers[i]);
    }
    m_afterAnonymous = false;
}

void XhtmlWriter::writeFrame(const QTextFrame* frame)
{
    bool afterFrame = false;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            closeLists();
            auto* table = qobject_cast<QTextTable*>(child);
            const TableMarkup* markup = table ? m_markup.tableAt(table->format().intProperty(kTableMarkup)) : nullptr;
            if (markup)
                writeMarkedTable(table, *markup);
            else if (table)
                writeTable(table);
            else
                writeFrame(child);
            afterFrame = true;
            m_afterAnonymous = false;
            continue;
        }
        // The layout keeps an empty paragraph beside a table; it comes back by itself.
        const QTextBlock block = it.currentBlock();
        auto next = it;
        ++next;
        const bool besideFrame = afterFrame || (!next.atEnd() && next.currentFrame());
        if (!(besideFrame && block.length() <= 1 && !block.blockFormat().hasProperty(kBlockMarkup)))
            writeBlock(block);
        afterFrame = false;
    }
}

void XhtmlWriter::writeTable(const QTextTable* table)
{
    if (table->rows() == 0 || table->columns() == 0)
        return;
    m_out += table->format().border() > 0 ? QLatin1String("<table border=\"1\">\n") : QLatin1String("<table>\n");
    for (int r = 0; r < table->rows(); ++r) {
        m_out += QLatin1String("<tr>");
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue; // covered by a spanning cell
            m_out += QLatin1String("<td");
            if (cell.rowSpan() > 1)
                m_out += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
            if (cell.columnSpan() > 1)
                m_out += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
            m_out += '>';
            auto it = cell.begin();
            const bool single = !it.atEnd() && !it.currentFrame() && [&] { auto n = it; ++n; return n.atEnd(); }();
            if (single) {
                writeInline(it.currentBlock(), false);
            } else {
                for (; !it.atEnd(); ++it) {
                    if (auto* inner = qobject_cast<QTextTable*>(it.currentFrame()))
                        writeTable(inner);
                    else if (it.currentFrame())
                        writeFrame(it.currentFrame());
                    else
                        writePlainBlock(it.currentBlock());
                }
                closeLists();
            }
            m_out += QLatin1String("</td>");
        }
        m_out += QLatin1String("</tr>\n");
    }
    m_out += QLatin1String("</table>\n");
}

// A table read from a chapter: its own elements, each cell's paragraphs as lines.
void XhtmlWriter::writeMarkedTable(const QTextTable* table, const TableMarkup& markup)
{
    syncWrappers(markup.wrappers);
    const Element& element = m_markup.elementAt(markup.element);
    writeStartTag(element.name, element.attributes);
    m_out += '\n';
    if (markup.body) {
        const Element& body = m_markup.elementAt(markup.body);
        writeStartTag(body.name, body.attributes);
        m_out += '\n';
    }
    for (int r = 0; r < table->rows(); ++r) {
        if (r < markup.rows.size()) {
            const Element& row = m_markup.elementAt(markup.rows[r]);
            writeStartTag(row.name, row.attributes);
        } else {
            m_out += QLatin1String("<tr>");
        }
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            const QTextBlock first = table->document()->findBlock(cell.firstPosition());
            const BlockMarkup* cellMarkup = m_markup.blockAt(first.blockFormat().intProperty(kBlockMarkup));
            const Element* cellElement = cellMarkup && cellMarkup->element ? &m_markup.elementAt(cellMarkup->element) : nullptr;
            const QString name = cellElement ? cellElement->name : QStringLiteral("td");
            m_out += '<' + name;
            if (cellElement)
                writeAttributes(cellElement->attributes);
            if (cell.rowSpan() > 1)
                m_out += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
            if (cell.columnSpan() > 1)
                m_out += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
            m_out += '>';
            bool firstBlock = true;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (it.currentFrame())
                    continue; // a table put into a cell has no place in a plain grid
                if (!firstBlock)
                    m_out += QLatin1String("<br />");
                writeInline(it.currentBlock(), false);
                firstBlock = false;
            }
            m_out += QLatin1String("</") + name + '>';
        }
        m_out += QLatin1String("</tr>\n");
    }
    if (markup.body)
        m_out += QLatin1String("</") + m_markup.elementAt(markup.body).name + QLatin1String(">\n");
    m_out += QLatin1String("</") + element.name + QLatin1String(">\n");
}

void XhtmlWriter::closeLists(int downToIndent)
{
    while (!m_lists.isEmpty() && m_lists.last().indent > downToIndent) {
        m_out += QLatin1String("</li></") + listTag(m_lists.last().list->format()) + QLatin1String(">\n");
        m_lists.removeLast();
    }
}

void XhtmlWriter::openListFor(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    const int indent = qMax(1, list->format().indent());
    closeLists(indent);
    if (!m_lists.isEmpty() && m_lists.last().indent == indent && m_lists.last().list != list)
        closeLists(indent - 1);
    if (!m_lists.isEmpty() && m_lists.last().indent == indent) {
        m_out += QLatin1String("</li>\n");
        return;
    }
    const QString type = listStyleType(list->format());
    m_out += '<' + listTag(list->format());
    if (!type.isEmpty())
        m_out += QStringLiteral(" style=\"list-style-type:%1\"").arg(type);
    m_out += QLatin1String(">\n");
    m_lists.append({indent, list});
}

void XhtmlWriter::writeBlock(const QTextBlock& block)
{
    const BlockMarkup* markup = m_markup.blockAt(block.blockFormat().intProperty(kBlockMarkup));
    if (!markup) {
        // Pasted or typed without markup of its own: it stays where it is, but not
        // directly inside a list the chapter had.
        const int list = firstListWrapper(m_wrappers);
        if (list >= 0)
            syncWrappers(m_wrappers.mid(0, list));
        writePlainBlock(block);
        return;
    }
    QList<int> wrappers = markup->wrappers;
    const bool inList = block.textList() != nullptr;
    const int list = firstListWrapper(wrappers);
    if (!inList && list >= 0)
        wrappers = wrappers.mid(0, list); // taken out of its list
    syncWrappers(wrappers);

    const Element* element = markup->element ? &m_markup.elementAt(markup->element) : nullptr;
    QString name = element ? element->name : QString();
    const Declarations changes = blockChanges(block, markup->format);
    if (inList && list < 0) {
        // Made a list item in the editor.
        openListFor(block);
        writeStartTag(QStringLiteral("li"), element ? element->attributes : Attributes(), changes);
        writeInline(block, false);
        m_afterAnonymous = false;
        return;
    }
    closeLists();
    if (!inList && list >= 0 && (name == QLatin1String("li") || name == QLatin1String("dt") || name == QLatin1String("dd")))
        name = QStringLiteral("p");
    const bool paragraph = name == QLatin1String("p") || (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6');
    const int level = block.blockFormat().headingLevel();
    if (paragraph && level != markup->format.headingLevel())
        name = level >= 1 && level <= 6 ? QStringLiteral("h%1").arg(level) : QStringLiteral("p");
    // Two runs of loose text in a row were one before the user split it.
    if (name.isEmpty() && m_afterAnonymous && m_anonymousWrappers == wrappers)
        name = QStringLiteral("p");
    if (name.isEmpty()) {
        writeInline(block, false);
        m_out += '\n';
        m_afterAnonymous = true;
        m_anonymousWrappers = wrappers;
        return;
    }
    writeStartTag(name, element ? element->attributes : Attributes(), changes);
    writeInline(block, name == QLatin1String("pre"));
    m_out += QLatin1String("</") + name + QLatin1String(">\n");
    m_afterAnonymous = false;
}

void XhtmlWriter::writePlainBlock(const QTextBlock& block)
{
    m_afterAnonymous = false;
    QString style = styleText(blockChanges(block, QTextBlockFormat()));
    QString styleAttribute = style.isEmpty() ? QString() : QStringLiteral(" style=\"%1\"").arg(style);
    if (const int state = block.userState(); state > 0 && state <= m_head.blockClasses.size())
        styleAttribute.prepend(QStringLiteral(" class=\"%1\"").arg(escapeXml(m_head.blockClasses.at(state - 1), true)));
    if (block.textList()) {
        openListFor(block);
        m_out += QLatin1String("<li") + styleAttribute + '>';
        writeInline(block, false);
        return;
    }
    closeLists();
    const int level = block.blockFormat().headingLevel();
    const QString tag = level >= 1 && level <= 6 ? QStringLiteral("h%1").arg(level) : QStringLiteral("p");
    m_out += '<' + tag + styleAttribute + '>';
    if (block.length() <= 1)
        m_out += QLatin1String("<br />"); // an empty paragraph would be dropped when read again
    writeInline(block, false);
    m_out += QLatin1String("</") + tag + QLatin1String(">\n");
}

void XhtmlWriter::writeText(const QString& text, bool pre)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            continue;
        appendEscaped(m_out, QStringView(text).mid(from, i - from), false);
        m_out += pre ? QLatin1String("\n") : QLatin1String("<br />");
        from = i + 1;
    }
    appendEscaped(m_out, QStringView(text).mid(from), false);
}

// Text with the line breaks a br element of the chapter made, each written as that element.
void XhtmlWriter::writeBreaks(const QString& text, const Element& element, bool pre)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QChar::LineSeparator)
            continue;
        writeText(text.mid(from, i - from), pre);
        m_out += '<' + element.name;
        writeAttributes(element.attributes);
        m_out += QLatin1String(" />");
        from = i + 1;
    }
    writeText(text.mid(from), pre);
}

void XhtmlWriter::writeAnchorIds(const QStringList& names)
{
    for (const QString& name : names) {
        if (!isXmlName(name) || m_ids.contains(name))
            continue;
        m_ids.insert(name);
        m_out += QStringLiteral("<a id=\"%1\"></a>").arg(name);
    }
}

void XhtmlWriter::syncInline(const QList<int>& chains)
{
    qsizetype common = 0;
    while (common < m_inline.size() && common < chains.size() && m_inline[common] == chains[common])
        ++common;
    while (m_inline.size() > common) {
        m_out += QLatin1String("</") + m_markup.elementAt(m_markup.inlineAt(m_inline.last())->elements.last()).name + '>';
        m_inline.removeLast();
    }
    for (qsizetype i = common; i < chains.size(); ++i) {
        const Element& element = m_markup.elementAt(m_markup.inlineAt(chains[i])->elements.last());
        writeStartTag(element.name, element.attributes);
        m_inline.append(chains[i]);
    }
}

void XhtmlWriter::writePicture(const QTextImageFormat& image, int count)
{
    const QString src = m_source ? m_source(image) : image.name();
    if (src.isEmpty())
        return;
    const Element* element = image.hasProperty(kImageElement) ? &m_markup.elementAt(image.intProperty(kImageElement)) : nullptr;
    // The size on the page, not the zoomed size on screen.
    const double width = image.hasProperty(kPictureDrawnWidth) ? image.doubleProperty(kPictureDrawnWidth) : image.width();
    const double height = image.hasProperty(kPictureDrawnHeight) ? image.doubleProperty(kPictureDrawnHeight) : image.height();
    // A picture the chapter gave no size keeps none while it has its own size.
    const bool sized = !element || image.boolProperty(kPictureSized)
                    || qAbs(width - image.doubleProperty(kPictureNaturalWidth)) > 1
                    || qAbs(height - image.doubleProperty(kPictureNaturalHeight)) > 1;
    for (int i = 0; i < count; ++i) {
        m_out += QLatin1String("<img src=\"");
        appendEscaped(m_out, src, true);
        m_out += QLatin1String("\" alt=\"");
        appendEscaped(m_out, image.property(kPictureAlt).toString(), true);
        m_out += '"';
        if (element)
            writeAttributes(element->attributes);
        else if (image.hasProperty(kEquationSource))
            m_out += QLatin1String(" class=\"") + QLatin1String(kEquationClass) + '"';
        if (sized && width > 0)
            m_out += QStringLiteral(" width=\"%1\"").arg(qRound(width));
        if (sized && height > 0)
            m_out += QStringLiteral(" height=\"%1\"").arg(qRound(height));
        m_out += QLatin1String(" />");
    }
}

// What is written around every run of one format in one kind of paragraph; the document
// has few formats, so this is worked out once for each.
const XhtmlWriter::RunPlan& XhtmlWriter::planFor(const QTextBlock& block, const QTextFragment& fragment)
{
    if (block.blockFormatIndex() != m_planBlockFormat) {
        const QTextBlockFormat blockFormat = block.blockFormat();
        m_planBlockFormat = block.blockFormatIndex();
        m_planBlock = m_markup.blockAt(blockFormat.intProperty(kBlockMarkup));
        // A paragraph made a heading, or a heading made a paragraph, is written as what it is now.
        m_planLevel = blockFormat.headingLevel();
        m_planLevelChanged = !m_planBlock || m_planLevel != m_planBlock->format.headingLevel();
        m_planKey = (qint64(blockFormat.intProperty(kBlockMarkup)) * 8 + (m_planLevelChanged ? m_planLevel + 1 : 0)) << 32;
    }
    const BlockMarkup* blockMarkup = m_planBlock;
    const int level = m_planLevel;
    const bool levelChanged = m_planLevelChanged;
    const qint64 key = m_planKey | quint32(fragment.charFormatIndex());
    if (const auto it = m_plans.constFind(key); it != m_plans.cend())
        return it.value();

    RunPlan plan;
    const QTextCharFormat f = fragment.charFormat();
    const InlineMarkup* chain = m_markup.inlineAt(f.intProperty(kInlineMarkup));
    if (chain)
        plan.chains = chain->chains;
    // Text typed after an island or a picture takes its format, but not its object type.
    if (f.objectType() == kIslandObject)
        plan.island = m_markup.islandAt(f.intProperty(kIsland));
    if (f.hasProperty(kBreakElement))
        plan.lineBreak = &m_markup.elementAt(f.intProperty(kBreakElement));
    plan.picture = f.isImageFormat();
    plan.anchors = f.anchorNames();
    plan.dropCarriers = f.boolProperty(kEmptyElement) || !plan.anchors.isEmpty();
    // Links the chapter had are in the markup; others (pasted) are written here.
    bool chainLink = false;
    if (chain)
        for (int element : chain->elements)
            chainLink = chainLink || !m_markup.elementAt(element).attribute(QLatin1String("href")).isEmpty();
    if (!chainLink)
        plan.href = f.anchorHref();

    QTextCharFormat given;
    if (blockMarkup)
        given = blockMarkup->charFormat;
    if (levelChanged)
        given.setFontWeight(level > 0 ? QFont::Bold : QFont::Normal);
    if (chain)
        given.merge(chain->format);
    if (!plan.href.isEmpty()) {
        given.setFontUnderline(true);
        given.setForeground(QGuiApplication::palette().link());
    }
    plan.changes = charChanges(f, given);
    const auto valign = f.hasProperty(QTextFormat::TextVerticalAlignment) ? f.verticalAlignment() : given.verticalAlignment();
    if (valign != given.verticalAlignment()) {
        if (valign == QTextCharFormat::AlignSuperScript)
            plan.shift = QStringLiteral("sup");
        else if (valign == QTextCharFormat::AlignSubScript)
            plan.shift = QStringLiteral("sub");
        else
            add(plan.changes, "vertical-align", "baseline");
    }
    if (!plan.href.isEmpty())
        plan.open += QLatin1String("<a href=\"") + escapeXml(plan.href, true) + QLatin1String("\">");
    if (!plan.shift.isEmpty())
        plan.open += '<' + plan.shift + '>';
    if (!plan.changes.isEmpty())
        plan.open += QLatin1String("<span style=\"") + escapeXml(styleText(plan.changes), true) + QLatin1String("\">");
    if (!plan.changes.isEmpty())
        plan.close += QLatin1String("</span>");
    if (!plan.shift.isEmpty())
        plan.close += QLatin1String("</") + plan.shift + '>';
    if (!plan.href.isEmpty())
        plan.close += QLatin1String("</a>");
    return *m_plans.insert(key, plan);
}

void XhtmlWriter::writeInline(const QTextBlock& block, bool pre)
{
    m_inline.clear();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const RunPlan& plan = planFor(block, fragment);
        syncInline(plan.chains);
        if (plan.island) {
            const QString source = QString::fromUtf8(plan.island->source);
            for (int i = 0; i < fragment.length(); ++i)
                m_out += source;
            continue;
        }
        if (!plan.anchors.isEmpty())
            writeAnchorIds(plan.anchors);
        if (plan.picture) {
            const QString open = plan.href.isEmpty() ? QString()
                                                     : QLatin1String("<a href=\"") + escapeXml(plan.href, true) + QLatin1String("\">");
            m_out += open;
            writePicture(fragment.charFormat().toImageFormat(), fragment.length());
            if (!open.isEmpty())
                m_out += QLatin1String("</a>");
            continue;
        }
        QString text = fragment.text();
        if (plan.dropCarriers)
            text.remove(QChar(kBookmarkCarrier));
        if (text.isEmpty())
            continue;
        m_out += plan.open;
        if (plan.lineBreak)
            writeBreaks(text, *plan.lineBreak, pre);
        else
            writeText(text, pre);
        m_out += plan.close;
    }
    syncInline({});
}

} // namespace tdx
