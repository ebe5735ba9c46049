#include "editor/CommandIcons.h"

#include "editor/CommandIds.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <functional>

namespace {

constexpr int kSize = 32;
const QColor kInk(0x23, 0x3a, 0x66);

using Drawing = std::function<void(QPainter&)>;

QIcon drawn(const Drawing& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(kInk, 2));
    draw(painter);
    return QIcon(pixmap);
}

// A letter in the face the command gives text.
Drawing glyph(const QString& text, const std::function<void(QFont&)>& face, int pixelSize = 22)
{
    return [text, face, pixelSize](QPainter& painter) {
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(pixelSize);
        face(font);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
    };
}

// Lines of text set the way an alignment sets them; widths in 1/8 of the line.
Drawing lines(Qt::Alignment alignment)
{
    return [alignment](QPainter& painter) {
        const int widths[] = {8, 5, 7, 4};
        for (int row = 0; row < 4; ++row) {
            const int width = alignment == Qt::AlignJustify ? 24 : widths[row] * 3;
            int left = 4;
            if (alignment == Qt::AlignRight)
                left = 28 - width;
            else if (alignment == Qt::AlignHCenter)
                left = 16 - width / 2;
            const int y = 7 + row * 6;
            painter.drawLine(left, y, left + width, y);
        }
    };
}

Drawing list(bool numbered)
{
    return [numbered](QPainter& painter) {
        QFont font;
        font.setPixelSize(8);
        painter.setFont(font);
        for (int row = 0; row < 3; ++row) {
            const int y = 8 + row * 8;
            if (numbered)
                painter.drawText(QRect(2, y - 5, 8, 10), Qt::AlignCenter, QString::number(row + 1));
            else
                painter.drawEllipse(QPointF(6, y), 1.5, 1.5);
            painter.drawLine(12, y, 28, y);
        }
    };
}

Drawing indent(bool inward)
{
    return [inward](QPainter& painter) {
        for (int row = 0; row < 4; ++row)
            painter.drawLine(row == 0 || row == 3 ? 4 : 14, 6 + row * 7, 28, 6 + row * 7);
        const QPointF tip = inward ? QPointF(11, 16.5) : QPointF(4, 16.5);
        const QPointF back = inward ? QPointF(4, 16.5) : QPointF(11, 16.5);
        painter.drawLine(back, tip);
        painter.drawLine(tip, tip + QPointF(inward ? -3 : 3, -3));
        painter.drawLine(tip, tip + QPointF(inward ? -3 : 3, 3));
    };
}

Drawing magnifier(bool larger)
{
    return [larger](QPainter& painter) {
        painter.drawEllipse(QPointF(13, 13), 8, 8);
        painter.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(19, 19, 27, 27);
        painter.setPen(QPen(kInk, 2));
        painter.drawLine(9, 13, 17, 13);
        if (larger)
            painter.drawLine(13, 9, 13, 17);
    };
}

Drawing paper(const QString& text)
{
    return [text](QPainter& painter) {
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(7, 3, 18, 26));
        QFont font;
        font.setPixelSize(8);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(7, 3, 18, 26), Qt::AlignCenter, text);
    };
}

QIcon standard(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

} // namespace

QIcon CommandIcon(int id)
{
    using namespace cmd;
    static const QHash<int, QStyle::StandardPixmap> desktop{
        {NewFile, QStyle::SP_FileIcon},
        {FileOpen, QStyle::SP_DialogOpenButton},
        {SaveBook, QStyle::SP_DialogSaveButton},
        {SaveBookAs, QStyle::SP_DriveFDIcon},
        {CloseWindow, QStyle::SP_DialogCloseButton},
        {AppExit, QStyle::SP_TitleBarCloseButton},
        {Print, QStyle::SP_ComputerIcon},
        {PrintPreview, QStyle::SP_FileDialogContentsView},
        {InsertDocument, QStyle::SP_FileLinkIcon},
        {FitImages, QStyle::SP_BrowserReload},
        {ScmRegistration, QStyle::SP_DriveNetIcon},
        {Undo, QStyle::SP_ArrowBack},
        {Redo, QStyle::SP_ArrowForward},
        {PackageSource, QStyle::SP_FileDialogDetailedView},
        {NcxSource, QStyle::SP_FileDialogListView},
        {ChapterSource, QStyle::SP_FileDialogInfoView},
        {ShowPanes, QStyle::SP_TitleBarNormalButton},
        {Help, QStyle::SP_DialogHelpButton},
        {Inquiry, QStyle::SP_MessageBoxQuestion},
        {AboutRibbon, QStyle::SP_MessageBoxInformation},
    };
    if (const auto it = desktop.find(id); it != desktop.end())
        return standard(it.value());

    auto plain = [](QFont&) {};
    static const QHash<int, Drawing> art{
        {Bold, glyph(QStringLiteral("B"), [](QFont& f) { f.setBold(true); })},
        {Italic, glyph(QStringLiteral("I"), [](QFont& f) { f.setItalic(true); })},
        {Underline, glyph(QStringLiteral("U"), [](QFont& f) { f.setUnderline(true); })},
        {Strikeout, glyph(QStringLiteral("S"), [](QFont& f) { f.setStrikeOut(true); })},
        {Superscript, glyph(QStringLiteral("x²"), plain)},
        {Subscript, glyph(QStringLiteral("x₂"), plain)},
        {FontLarger, glyph(QStringLiteral("가+"), plain, 16)},
        {FontSmaller, glyph(QStringLiteral("가-"), plain, 12)},
        {Style, glyph(QStringLiteral("Aa"), plain)},
        {Copy, glyph(QStringLiteral("⧉"), plain)},
        {Paste, glyph(QStringLiteral("📋"), plain, 18)},
        {Cut, glyph(QStringLiteral("✂"), plain)},
        {Find, magnifier(false)},
        {ZoomIn, magnifier(true)},
        {ZoomOut, magnifier(false)},
        {AlignJustify, lines(Qt::AlignJustify)},
        {AlignLeft, lines(Qt::AlignLeft)},
        {AlignRight, lines(Qt::AlignRight)},
        {AlignCenter, lines(Qt::AlignHCenter)},
        {Numbering, list(true)},
        {Bullet, list(false)},
        {Indent, indent(true)},
        {Outdent, indent(false)},
        {PaperA4, paper(QStringLiteral("A4"))},
        {PaperDevice, paper(QStringLiteral("T"))},
        {InsertPicture, glyph(QStringLiteral("▣"), plain)},
        {InsertTable, glyph(QStringLiteral("▦"), plain)},
        {InsertEquation, glyph(QStringLiteral("∑"), plain)},
        {Spelling, glyph(QStringLiteral("✓"), plain)},
        {Dictionary, glyph(QStringLiteral("사"), [](QFont& f) { f.setBold(true); })},
    };
    const auto it = art.find(id);
    return it != art.end() ? drawn(it.value()) : QIcon();
}
