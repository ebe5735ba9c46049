#include "components/tdx/IslandObject.h"

#include "components/tdx/Markup.h"
#include "components/tdx/TextProperties.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextCharFormat>

namespace tdx {

QString IslandObject::label(const QTextFormat& format) const
{
    const Island* island = m_markup.islandAt(format.intProperty(kIsland));
    return island ? island->label : QStringLiteral("?");
}

QSizeF IslandObject::intrinsicSize(QTextDocument*, int, const QTextFormat& format)
{
    const QFontMetricsF metrics(format.toCharFormat().font());
    return QSizeF(metrics.horizontalAdvance(label(format)) + 8, metrics.height());
}

void IslandObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format)
{
    painter->save();
    painter->setPen(QColor(0x80, 0x80, 0x80));
    painter->setBrush(QColor(0xee, 0xee, 0xee));
    painter->drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter->setFont(format.toCharFormat().font());
    painter->drawText(rect, Qt::AlignCenter, label(format));
    painter->restore();
}

} // namespace tdx
