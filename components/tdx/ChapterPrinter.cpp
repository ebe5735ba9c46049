#include "components/tdx/ChapterPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>

namespace tdx {

namespace {

constexpr double kUnitsPerPoint = 100.0; // 7200 units an inch, 72 points
constexpr double kLayoutDpi = 96.0;      // the dpi the document's lengths are in

} // namespace

void applyPageSetup(QPrinter& printer, const PageGeometry& page)
{
    const QPageSize size(QSizeF(page.paperWidth / kUnitsPerPoint, page.paperHeight / kUnitsPerPoint),
                         QPageSize::Point, QString(), QPageSize::ExactMatch);
    const QMarginsF margins(page.leftMargin / kUnitsPerPoint, page.topMargin / kUnitsPerPoint,
                            page.rightMargin / kUnitsPerPoint, page.bottomMargin / kUnitsPerPoint);
    // The margins are drawn by us, so a printer's own minimum margins do not move the text.
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, margins, QPageLayout::Point));
}

bool printDocument(QTextDocument& document, QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QRectF area = layout.paintRect(QPageLayout::Point);
    const double toLayout = kLayoutDpi / 72.0;
    const QSizeF page(area.width() * toLayout, area.height() * toLayout);
    if (page.isEmpty())
        return false;
    document.setPageSize(page);
    document.rootFrame()->setFrameFormat([&] {
        QTextFrameFormat format = document.rootFrame()->frameFormat();
        format.setMargin(0);
        return format;
    }());
    const int pages = qMax(1, document.pageCount());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.logicalDpiX() / kLayoutDpi;
    // With the full page the painter starts at the paper's corner: the margins are ours.
    const QPointF origin = layout.fullRect(QPageLayout::Point).topLeft();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        painter.save();
        painter.scale(scale, scale);
        painter.translate((area.left() - origin.x()) * toLayout, (area.top() - origin.y()) * toLayout);
        painter.setClipRect(QRectF(QPointF(0, 0), page));
        painter.translate(0, -i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(QPointF(0, i * page.height()), page);
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

} // namespace tdx
