#include "components/tdx/InlineStyle.h"

#include "components/tdx/CssUnits.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace tdx {

namespace {

// A length in pixels ("1.5em", "12px", "9pt", "0"); false for anything else.
bool pixels(QStringView value, double& out)
{
    bool ok = false;
    if (value.endsWith(QLatin1String("em")))
        out = value.chopped(2).toDouble(&ok) * kBasePixelSize;
    else if (value.endsWith(QLatin1String("px")))
        out = value.chopped(2).toDouble(&ok);
    else if (value.endsWith(QLatin1String("pt")))
        out = value.chopped(2).toDouble(&ok) * 96.0 / 72.0;
    else if ((ok = value == QLatin1String("0"))) // only a zero goes without a unit
        out = 0;
    return ok;
}

// A font size in points.
bool points(QStringView value, double& out)
{
    bool ok = false;
    if (value.endsWith(QLatin1String("em")))
        out = value.chopped(2).toDouble(&ok) * kBasePointSize;
    else if (value.endsWith(QLatin1String("pt")))
        out = value.chopped(2).toDouble(&ok);
    else if (value.endsWith(QLatin1String("px")))
        out = value.chopped(2).toDouble(&ok) * 72.0 / 96.0;
    else if (value.endsWith('%'))
        out = value.chopped(1).toDouble(&ok) * kBasePointSize / 100.0;
    return ok && out > 0;
}

void applyDeclaration(QStringView name, QStringView value, QTextBlockFormat* block, QTextCharFormat& chars)
{
    double n = 0;
    if (name == QLatin1String("font-weight")) {
        if (value == QLatin1String("bold") || value == QLatin1String("bolder"))
            chars.setFontWeight(QFont::Bold);
        else if (value == QLatin1String("normal") || value == QLatin1String("lighter"))
            chars.setFontWeight(QFont::Normal);
        else if (const int weight = value.toInt(); weight >= 100 && weight <= 900)
            chars.setFontWeight(weight);
    } else if (name == QLatin1String("font-style")) {
        chars.setFontItalic(value == QLatin1String("italic") || value == QLatin1String("oblique"));
    } else if (name == QLatin1String("text-decoration")) {
        chars.setFontUnderline(value.contains(QLatin1String("underline")));
        chars.setFontStrikeOut(value.contains(QLatin1String("line-through")));
    } else if (name == QLatin1String("font-size")) {
        if (points(value, n))
            chars.setFontPointSize(n);
    } else if (name == QLatin1String("color")) {
        const QColor color = QColor::fromString(value);
        if (color.isValid())
            chars.setForeground(color);
    } else if (name == QLatin1String("vertical-align")) {
        if (value == QLatin1String("super"))
            chars.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (value == QLatin1String("sub"))
            chars.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (value == QLatin1String("baseline"))
            chars.setVerticalAlignment(QTextCharFormat::AlignNormal);
    } else if (!block) {
        return;
    } else if (name == QLatin1String("text-align")) {
        if (value == QLatin1String("center"))
            block->setAlignment(Qt::AlignHCenter);
        else if (value == QLatin1String("right"))
            block->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        else if (value == QLatin1String("left"))
            block->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        else if (value == QLatin1String("justify"))
            block->setAlignment(Qt::AlignJustify);
    } else if (name == QLatin1String("margin-left")) {
        if (pixels(value, n))
            block->setLeftMargin(n);
    } else if (name == QLatin1String("text-indent")) {
        if (pixels(value, n))
            block->setTextIndent(n);
    } else if (name == QLatin1String("line-height")) {
        bool ok = false;
        if (value.endsWith('%'))
            n = value.chopped(1).toDouble(&ok);
        else
            n = value.toDouble(&ok) * 100;
        if (ok && n > 0)
            block->setLineHeight(n, QTextBlockFormat::ProportionalHeight);
    }
}

} // namespace

void applyInlineStyle(const QString& style, QTextBlockFormat* block, QTextCharFormat& chars)
{
    for (QStringView declaration : QStringView(style).split(';')) {
        const qsizetype colon = declaration.indexOf(':');
        if (colon <= 0)
            continue;
        const QString name = declaration.left(colon).trimmed().toString().toLower();
        const QString value = declaration.mid(colon + 1).trimmed().toString().toLower();
        applyDeclaration(name, value, block, chars);
    }
}

QString mergeInlineStyle(const QString& style, const Declarations& changes)
{
    QStringList kept;
    QList<QString> names;
    for (QStringView declaration : QStringView(style).split(';')) {
        const QStringView trimmed = declaration.trimmed();
        if (trimmed.isEmpty())
            continue;
        kept.append(trimmed.toString());
        names.append(trimmed.left(qMax<qsizetype>(0, trimmed.indexOf(':'))).trimmed().toString().toLower());
    }
    for (const auto& [name, value] : changes) {
        const qsizetype at = names.indexOf(name);
        if (at >= 0) {
            kept[at] = name + ':' + value;
        } else {
            kept.append(name + ':' + value);
            names.append(name);
        }
    }
    return kept.join(';');
}

} // namespace tdx
