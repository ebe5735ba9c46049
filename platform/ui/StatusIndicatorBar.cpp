#include "platform/ui/StatusIndicatorBar.h"

#include <QLabel>

namespace platform {

StatusIndicatorBar::StatusIndicatorBar(QWidget* parent)
    : QStatusBar(parent)
{
}

int StatusIndicatorBar::addIndicator(int id, const QString& text, const QString& label)
{
    auto* pane = new QLabel(text);
    pane->setProperty("indicatorId", id);
    pane->setToolTip(label); // the customisation label names the pane
    pane->setFrameShape(QFrame::StyledPanel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 12);
    addPermanentWidget(pane);
    const int index = m_nextIndex;
    m_indicators.insert(index, pane);
    m_nextIndex += 2;
    return index;
}

void StatusIndicatorBar::setIndicatorText(int index, const QString& text)
{
    if (QLabel* pane = m_indicators.value(index))
        pane->setText(text);
}

QString StatusIndicatorBar::indicatorText(int index) const
{
    QLabel* pane = m_indicators.value(index);
    return pane ? pane->text() : QString();
}

QString StatusIndicatorBar::indicatorLabel(int index) const
{
    QLabel* pane = m_indicators.value(index);
    return pane ? pane->toolTip() : QString();
}

} // namespace platform
