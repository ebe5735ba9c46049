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
    const pugi::xml_node html = doc.document_element();
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
    collectAlts(html.child("body"), altTexts);
    return true;
}

QString ChapterHead::prepareBody(const QString& chapter, bool ownStyles)
{
    QString out = emToAbsolute(chapter);
    if (!ownStyles) {
        static const QRegularExpression styleBlocks(QStringLiteral(R"(<style\b[^>]*>.*?</style\s*>)"),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression links(QStringLiteral(R"(<link\b[^>]*>)"),
            QRegularExpression::CaseInsensitiveOption);
        out.remove(styleBlocks);
        out.remove(links);
    }
    return out;
}

} // namespace tdx
