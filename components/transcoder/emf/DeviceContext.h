#pragma once
// The drawing state an EMF changes record by record, as GDI keeps it for a device
// context. SaveDC pushes a copy of all of it.
#include "components/transcoder/emf/GdiObjects.h"

#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QTransform>

#include <optional>

namespace emfplay {

struct DeviceContext {
    QTransform world;
    QPointF windowOrg;
    QSizeF windowExt{1, 1};
    QPointF viewportOrg;
    QSizeF viewportExt{1, 1};
    int mapMode = 1; // MM_TEXT

    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = 2;          // OPAQUE
    std::uint32_t textAlign = 0;
    int polyFillMode = 1;    // ALTERNATE
    bool clockwiseArcs = false;
    QPointF current;         // current position, logical

    std::optional<QPainterPath> clip; // in page units; none is the whole page
};

} // namespace emfplay
