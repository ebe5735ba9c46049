#include "components/tdx/ChapterHead.h"

#include "components/tdx/CssUnits.h"

#include <QRegularExpression>

#include <pugixml.hpp>

namespace tdx {

namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

void collectAlts(const pugi::xml_node& node, QHash<QString, QString>& alts)
{
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        if (QString::fromUtf8(child.name()).compare("img", Qt::CaseInsensitive) == 0)
            alts.insert(text(child.attribute("src").value()), text(child.attribute("alt").value()));
        collectAlts(child, alts);
    }
}

} // namespace

bool ChapterHead::read(const QByteArray& utf8)
{
    *this = ChapterHead();
    pugi::xml_document doc;
    if (!doc.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default, pugi::encoding_utf8))
        return false;
    read(doc.document_element());
    collectAlts(doc.document_element().child("body"), altTexts);
    return true;
}

void ChapterHead::read(const pugi::xml_node& html)
{
    language = text(html.attribute("xml:lang").value());
    if (language.isEmpty())
        language = text(html.attribute("lang").value());
    const pugi::xml_node head = html.child("head");
    title = text(head.child("title").text().get()).simplified();
    for (const pugi::xml_node& child : head.children()) {
        const QString name = text(child.name()).toLower();
        if (name == "link") {
            Attributes attributes;
            for (const pugi::xml_attribute& a : child.attributes())
                attributes.append({text(a.name()), text(a.value())});
            links.append(attributes);
        } else if (name == "style") {
            styles.append(text(child.text().get()));
        }
    }
}

QString ChapterHead::prepareBody(const QString& chapter)
{
    static const QRegularExpression styleBlocks(QStringLiteral(R"(<style\b[^>]*>.*?</style\s*>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression links(QStringLiteral(R"(<link\b[^>]*>)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blockTags(
        QStringLiteral(R"(<(p|h[1-6]|li|div|blockquote|pre|dd|dt)(\s[^<>]*?)?(/?)>)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression classAttribute(QStringLiteral(R"re(\sclass\s*=\s*("([^"]*)"|'([^']*)'))re"));
    static const QRegularExpression styleAttribute(QStringLiteral(R"re(\sstyle\s*=\s*("([^"]*)"|'([^']*)'))re"));

    // An empty anchor would attach its name to the next character, and is lost when none
    // follows; a zero-width space gives it a character of its own.
    static const QRegularExpression emptyAnchors(
        QStringLiteral(R"re(<a(\s[^<>]*?\b(?:id|name)\s*=[^<>]*?)(?:/>|>\s*</a\s*>))re"), QRegularExpression::CaseInsensitiveOption);

    // Empty paragraphs and headings would be dropped; a line break keeps them.
    static const QRegularExpression emptyBlocks(
        QStringLiteral(R"re(<(p|h[1-6])(\s[^<>]*)?>\s*</\1\s*>)re"), QRegularExpression::CaseInsensitiveOption);

    // White space around the end of the body would be appended to the last paragraph.
    static const QRegularExpression bodyEnd(QStringLiteral(R"re(\s*</body\s*>\s*(</html\s*>)?\s*$)re"),
                                            QRegularExpression::CaseInsensitiveOption);

    QString text = emToAbsolute(chapter);
    text.replace(bodyEnd, QStringLiteral("</body></html>"));
    static const QRegularExpression selfClosedBlocks(
        QStringLiteral(R"re(<(p|h[1-6]|div)(\s[^<>]*?)?\s*/>)re"), QRegularExpression::CaseInsensitiveOption);
    text.replace(selfClosedBlocks, QStringLiteral("<\\1\\2></\\1>"));
    text.replace(emptyBlocks, QStringLiteral("<\\1\\2><br /></\\1>"));
    text.remove(styleBlocks);
    text.remove(links);
    text.replace(emptyAnchors, QStringLiteral("<a\\1>") + QChar(kBookmarkCarrier) + QStringLiteral("</a>"));

    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype last = 0;
    auto it = blockTags.globalMatch(text);
    while (it.hasNext()) {
        const auto tag = it.next();
        QString attributes = tag.captured(2);
        const auto cls = classAttribute.match(attributes);
        if (!cls.hasMatch())
            continue;
        const QString name = (cls.captured(2) + cls.captured(3)).simplified();
        attributes.remove(cls.capturedStart(), cls.capturedLength());
        if (!name.isEmpty()) {
            qsizetype index = blockClasses.indexOf(name);
            if (index < 0) {
                blockClasses.append(name);
                index = blockClasses.size() - 1;
            }
            const QString state = QStringLiteral("-qt-user-state:%1").arg(index + 1);
            const auto style = styleAttribute.match(attributes);
            if (style.hasMatch()) {
                const QString value = style.captured(2) + style.captured(3);
                attributes.replace(style.capturedStart(), style.capturedLength(),
                                   QStringLiteral(" style=\"%1;%2\"").arg(QString(value).replace('"', QLatin1String("&quot;")), state));
            } else {
                attributes += QStringLiteral(" style=\"%1\"").arg(state);
            }
        }
        out += text.mid(last, tag.capturedStart() - last);
        out += '<' + tag.captured(1) + attributes + tag.captured(3) + '>';
        last = tag.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

} // namespace tdx
