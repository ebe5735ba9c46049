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

} // namespace

QString escapeXml(const QString& text, bool attribute)
{
    QString out;
    out.reserve(text.size() + 8);
    for (char32_t c : text.toUcs4()) {
        if (!isValidXmlChar(c))
            continue;
        switch (c) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"':
            if (attribute) {
                out += QLatin1String("&quot;");
                break;
            }
            [[fallthrough]];
        default:
            if (attribute && (c == '\n' || c == '\r' || c == '\t'))
                out += QStringLiteral("&#%1;").arg(uint(c));
            else
                out += QString::fromUcs4(&c, 1);
        }
    }
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

XhtmlWriter::XhtmlWriter(const QTextDocument& document, const ChapterHead& head, PictureSource source)
    : m_document(document), m_head(head), m_source(std::move(source))
{
}

QByteArray XhtmlWriter::write()
{
    m_out.clear();
    m_ids.clear();
    m_out += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
                           "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n"
                           "<html xmlns=\"http://www.w3.org/1999/xhtml\"");
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
    const qsizetype bodyStart = m_out.size();
    writeFrame(m_document.rootFrame());
    closeLists();
    if (m_out.size() == bodyStart)
        m_out += QLatin1String("<p></p>\n"); // a body needs at least one block
    m_out += QLatin1String("</body>\n</html>\n");
    return m_out.toUtf8();
}

void XhtmlWriter::writeFrame(const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            closeLists();
            if (auto* table = qobject_cast<QTextTable*>(child))
                writeTable(table);
            else
                writeFrame(child);
        } else {
            writeBlock(it.currentBlock());
        }
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
                writeInline(it.currentBlock());
            } else {
                for (; !it.atEnd(); ++it) {
                    if (auto* inner = qobject_cast<QTextTable*>(it.currentFrame()))
                        writeTable(inner);
                    else if (it.currentFrame())
                        writeFrame(it.currentFrame());
                    else
                        writeBlock(it.currentBlock());
                }
                closeLists();
            }
            m_out += QLatin1String("</td>");
        }
        m_out += QLatin1String("</tr>\n");
    }
    m_out += QLatin1String("</table>\n");
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

QString XhtmlWriter::blockStyle(const QTextBlock& block) const
{
    const QTextBlockFormat f = block.blockFormat();
    QStringList style;
    if (f.hasProperty(QTextFormat::BlockAlignment)) {
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            style << "text-align:center";
        else if (a & Qt::AlignJustify)
            style << "text-align:justify";
        else if (a & Qt::AlignRight)
            style << "text-align:right";
        else if (a & Qt::AlignLeft)
            style << "text-align:left";
    }
    if (qAbs(f.leftMargin()) > 0.01 && !block.textList())
        style << "margin-left:" + pixelsToEm(f.leftMargin());
    if (qAbs(f.textIndent()) > 0.01)
        style << "text-indent:" + pixelsToEm(f.textIndent());
    if (f.lineHeightType() == QTextBlockFormat::ProportionalHeight && f.lineHeight() > 0 && f.lineHeight() != 100)
        style << QStringLiteral("line-height:%1%").arg(number(f.lineHeight()));
    return style.join(';');
}

void XhtmlWriter::writeBlock(const QTextBlock& block)
{
    const QString style = blockStyle(block);
    const QString styleAttribute = style.isEmpty() ? QString() : QStringLiteral(" style=\"%1\"").arg(style);
    if (block.textList()) {
        openListFor(block);
        m_out += QLatin1String("<li") + styleAttribute + '>';
        writeInline(block);
        return;
    }
    closeLists();
    const int level = block.blockFormat().headingLevel();
    const QString tag = level >= 1 && level <= 6 ? QStringLiteral("h%1").arg(level) : QStringLiteral("p");
    m_out += '<' + tag + styleAttribute + '>';
    writeInline(block);
    m_out += QLatin1String("</") + tag + QLatin1String(">\n");
}

void XhtmlWriter::writeText(const QString& text)
{
    QString chunk;
    for (QChar c : text) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            m_out += escapeXml(chunk, false) + QLatin1String("<br />");
            chunk.clear();
        } else {
            chunk += c;
        }
    }
    m_out += escapeXml(chunk, false);
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

void XhtmlWriter::writeInline(const QTextBlock& block)
{
    const bool heading = block.blockFormat().headingLevel() > 0;
    const QColor linkColor = QGuiApplication::palette().link().color();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        writeAnchorIds(f.anchorNames());
        const QString href = f.anchorHref();

        if (f.isImageFormat()) {
            const QTextImageFormat image = f.toImageFormat();
            const QString src = m_source ? m_source(image) : image.name();
            if (src.isEmpty())
                continue;
            const QString alt = image.property(kPictureAlt).toString();
            for (int i = 0; i < fragment.length(); ++i) {
                if (!href.isEmpty())
                    m_out += QStringLiteral("<a href=\"%1\">").arg(escapeXml(href, true));
                m_out += QStringLiteral("<img src=\"%1\" alt=\"%2\"").arg(escapeXml(src, true), escapeXml(alt, true));
                if (image.width() > 0)
                    m_out += QStringLiteral(" width=\"%1\"").arg(qRound(image.width()));
                if (image.height() > 0)
                    m_out += QStringLiteral(" height=\"%1\"").arg(qRound(image.height()));
                m_out += QLatin1String(" />");
                if (!href.isEmpty())
                    m_out += QLatin1String("</a>");
            }
            continue;
        }

        QStringList style;
        const bool bold = f.fontWeight() >= QFont::DemiBold;
        if (bold && !heading)
            style << "font-weight:bold";
        else if (!bold && heading && f.hasProperty(QTextFormat::FontWeight))
            style << "font-weight:normal";
        if (f.fontItalic())
            style << "font-style:italic";
        QStringList decoration;
        const bool linkLook = !href.isEmpty();
        if (f.fontUnderline() && !linkLook)
            decoration << "underline";
        if (f.fontStrikeOut())
            decoration << "line-through";
        if (!decoration.isEmpty())
            style << "text-decoration:" + decoration.join(' ');
        if (f.fontPointSize() > 0)
            style << "font-size:" + number(f.fontPointSize() / kBasePointSize) + "em";
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() == Qt::SolidPattern) {
            const QColor color = f.foreground().color();
            if (!(linkLook && color == linkColor))
                style << "color:" + color.name();
        }
        const auto valign = f.verticalAlignment();
        if (!href.isEmpty())
            m_out += QStringLiteral("<a href=\"%1\">").arg(escapeXml(href, true));
        if (valign == QTextCharFormat::AlignSuperScript)
            m_out += QLatin1String("<sup>");
        else if (valign == QTextCharFormat::AlignSubScript)
            m_out += QLatin1String("<sub>");
        if (!style.isEmpty())
            m_out += QStringLiteral("<span style=\"%1\">").arg(style.join(';'));
        writeText(fragment.text());
        if (!style.isEmpty())
            m_out += QLatin1String("</span>");
        if (valign == QTextCharFormat::AlignSuperScript)
            m_out += QLatin1String("</sup>");
        else if (valign == QTextCharFormat::AlignSubScript)
            m_out += QLatin1String("</sub>");
        if (!href.isEmpty())
            m_out += QLatin1String("</a>");
    }
}

} // namespace tdx
