#pragma once
// Draws an island (markup the editor keeps but does not edit: svg, math, a comment ...) as
// a small labelled box in the text, so the user sees it is there and can delete it.
#include <QObject>
#include <QTextObjectInterface>

namespace tdx {

class MarkupTable;

class IslandObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    IslandObject(const MarkupTable& markup, QObject* parent) : QObject(parent), m_markup(markup) {}

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

private:
    QString label(const QTextFormat& format) const;

    const MarkupTable& m_markup;
};

} // namespace tdx
