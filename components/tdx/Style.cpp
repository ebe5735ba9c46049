#include "components/tdx/Style.h"

#include "components/tdx/PageGeometry.h"
#include "components/tdx/TextProperties.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace tdx {

namespace {

Qt::Alignment alignmentOf(const QString& align)
{
    if (align == "left")
        return Qt::AlignLeft | Qt::AlignAbsolute;
    if (align == "right")
        return Qt::AlignRight | Qt::AlignAbsolute;
    if (align == "center")
        return Qt::AlignHCenter;
    return Qt::AlignJustify;
}

} // namespace

void Style::applyTo(QTextCursor& cursor, int index) const
{
    QTextBlockFormat block;
    block.setProperty(kStyleIndex, index);
    if (!align.isEmpty())
        block.setAlignment(alignmentOf(align));
    const int hang = indentation < 0 ? -indentation : 0;
    block.setLeftMargin(unitsToPixels(leftMargin + hang));
    block.setTextIndent(unitsToPixels(indentation));
    block.setProperty(kIndentation, indentation);
    if (lineSpacing > 0)
        block.setLineHeight(lineSpacing, QTextBlockFormat::ProportionalHeight);
    block.setHeadingLevel(headingLevel);

    QTextCharFormat chars;
    if (pointSize > 0)
        chars.setFontPointSize(pointSize);
    if (bold >= 0)
        chars.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (italic >= 0)
        chars.setFontItalic(italic != 0);
    if (underline >= 0)
        chars.setFontUnderline(underline != 0);
    if (QColor c(color); c.isValid())
        chars.setForeground(c);
    if (!fontFamily.isEmpty())
        chars.setFontFamilies({fontFamily});

    cursor.beginEditBlock();
    cursor.mergeBlockFormat(block);
    // The whole of each touched paragraph takes the character formats.
    QTextCursor span(cursor);
    span.setPosition(cursor.selectionStart());
    span.movePosition(QTextCursor::StartOfBlock);
    span.setPosition(cursor.selectionEnd(), QTextCursor::KeepAnchor);
    span.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    span.mergeCharFormat(chars);
    span.mergeBlockCharFormat(chars);
    if (list > 0) {
        QTextListFormat format;
        format.setStyle(list == 1 ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc);
        if (!cursor.currentList())
            cursor.createList(format);
    }
    cursor.endEditBlock();
}

bool Style::sameFormatsAs(const Style& other) const
{
    return nameEng == other.nameEng && nameLocal == other.nameLocal && pointSize == other.pointSize
        && bold == other.bold && italic == other.italic && underline == other.underline
        && color == other.color && fontFamily == other.fontFamily && align == other.align
        && leftMargin == other.leftMargin && indentation == other.indentation
        && lineSpacing == other.lineSpacing && headingLevel == other.headingLevel && list == other.list;
}

} // namespace tdx
