#include "components/tdx/StyleList.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace tdx {

namespace {

Style make(const char* eng, const QString& local)
{
    Style s;
    s.nameEng = QString::fromLatin1(eng);
    s.nameLocal = local;
    s.pointSize = 10;
    s.align = "justify";
    s.lineSpacing = 160;
    return s;
}

} // namespace

StyleList::StyleList() : m_styles(builtIn()) {}

QList<Style> StyleList::builtIn()
{
    QList<Style> list;
    list << make("Normal", QStringLiteral("바탕글"));
    Style body = make("Body", QStringLiteral("본문"));
    body.leftMargin = 1500;
    list << body;
    static const double outlineSizes[] = {20, 18, 16, 14, 12, 11, 10};
    for (int level = 1; level <= 7; ++level) {
        Style outline = make("", QStringLiteral("개요 %1").arg(level));
        outline.nameEng = QStringLiteral("Outline %1").arg(level);
        outline.pointSize = outlineSizes[level - 1];
        outline.bold = 1;
        outline.align = "left";
        outline.headingLevel = level <= 6 ? level : 0;
        list << outline;
    }
    Style pageNumber = make("Page Number", QStringLiteral("쪽번호"));
    pageNumber.pointSize = 9;
    pageNumber.align = "right";
    Style header = make("Header", QStringLiteral("머리말"));
    header.pointSize = 9;
    header.align = "center";
    Style footnote = make("Footnote", QStringLiteral("각주"));
    footnote.pointSize = 9;
    footnote.align = "left";
    footnote.lineSpacing = 130;
    list << pageNumber << header << footnote;

    const struct { const char* eng; QString local; const char* align; } aligned[] = {
        {"Distribute", QStringLiteral("양쪽정렬"), "justify"},
        {"LeftAlign", QStringLiteral("왼쪽정렬"), "left"},
        {"RightAlign", QStringLiteral("오른쪽정렬"), "right"},
        {"CenterAlign", QStringLiteral("중앙정렬"), "center"},
    };
    for (const auto& a : aligned) {
        Style s = make(a.eng, a.local);
        s.align = QString::fromLatin1(a.align);
        list << s;
    }
    Style indent = make("Indent", QStringLiteral("들여쓰기"));
    indent.indentation = 2000;
    Style outdent = make("Outdent", QStringLiteral("내어쓰기"));
    outdent.indentation = -2000;
    Style numbering = make("Numbering", QStringLiteral("번호매김"));
    numbering.list = 1;
    Style heading = make("Heading", QStringLiteral("글머리"));
    heading.list = 2;
    list << indent << outdent << numbering << heading;
    return list;
}

int StyleList::indexOf(const QString& name) const
{
    for (int i = 0; i < m_styles.size(); ++i)
        if (!name.isEmpty() && (m_styles[i].nameEng == name || m_styles[i].nameLocal == name))
            return i;
    return -1;
}

void StyleList::replace(int index, const Style& style)
{
    if (index >= 0 && index < m_styles.size())
        m_styles[index] = style;
}

QByteArray StyleList::serialize(const QList<Style>& styles)
{
    QByteArray data;
    QXmlStreamWriter xml(&data);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement("tdxstyles");
    xml.writeAttribute("version", "1");
    for (const Style& s : styles) {
        xml.writeStartElement("style");
        xml.writeAttribute("nameEng", s.nameEng);
        xml.writeAttribute("nameLocal", s.nameLocal);
        auto number = [&](const char* name, double value, double unset) {
            if (value != unset)
                xml.writeAttribute(QString::fromLatin1(name), QString::number(value));
        };
        number("size", s.pointSize, 0);
        number("bold", s.bold, -1);
        number("italic", s.italic, -1);
        number("underline", s.underline, -1);
        if (!s.color.isEmpty())
            xml.writeAttribute("color", s.color);
        if (!s.fontFamily.isEmpty())
            xml.writeAttribute("font", s.fontFamily);
        if (!s.align.isEmpty())
            xml.writeAttribute("align", s.align);
        number("leftMargin", s.leftMargin, 0);
        number("indentation", s.indentation, 0);
        number("lineSpacing", s.lineSpacing, 0);
        number("heading", s.headingLevel, 0);
        number("list", s.list, 0);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return data;
}

bool StyleList::parse(const QByteArray& data, QList<Style>& styles)
{
    QXmlStreamReader xml(data);
    QList<Style> read;
    bool root = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"tdxstyles") {
            root = true;
            continue;
        }
        if (!root || xml.name() != u"style")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        auto number = [&](const char* name, double unset) {
            bool ok = false;
            const double value = a.value(QLatin1String(name)).toDouble(&ok);
            return ok ? value : unset;
        };
        Style s;
        s.nameEng = a.value("nameEng").toString();
        s.nameLocal = a.value("nameLocal").toString();
        s.pointSize = qBound(0.0, number("size", 0), 400.0);
        s.bold = int(number("bold", -1));
        s.italic = int(number("italic", -1));
        s.underline = int(number("underline", -1));
        s.color = a.value("color").toString();
        s.fontFamily = a.value("font").toString();
        s.align = a.value("align").toString();
        s.leftMargin = int(number("leftMargin", 0));
        s.indentation = int(number("indentation", 0));
        s.lineSpacing = int(number("lineSpacing", 0));
        s.headingLevel = qBound(0, int(number("heading", 0)), 6);
        s.list = qBound(0, int(number("list", 0)), 2);
        read << s;
    }
    if (xml.hasError() || !root)
        return false;
    styles = read;
    return true;
}

} // namespace tdx
