#include "online/StaticLink.h"

#include <QMouseEvent>

CStaticLink::CStaticLink(QWidget* parent)
    : QLabel(parent)
{
    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(linkPalette);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setAutoFillBackground(false);
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
}

QString CStaticLink::Target() const
{
    return m_link.isEmpty() ? text() : m_link;
}

void CStaticLink::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    if (Target().isEmpty() || !parentWidget())
        return;
    // A second click before the first was handled replaces it.
    if (m_clickTimerId != 0)
        parentWidget()->killTimer(m_clickTimerId);
    m_clickTimerId = parentWidget()->startTimer(kClickTimerIntervalMs);
}

bool CStaticLink::TakeClickTimer(int timerId)
{
    if (m_clickTimerId == 0 || timerId != m_clickTimerId)
        return false;
    m_clickTimerId = 0;
    return true;
}
