#pragma once
#include <QMap>
#include <QStatusBar>

class QLabel;

namespace platform {

// A status bar whose indicator panes are addressed by their index in the bar's layout,
// separators included (indicators at 0, 2, 4, ... with separators between them).
class StatusIndicatorBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusIndicatorBar(QWidget* parent = nullptr);

    // Adds an indicator at the next even index; returns that index.
    int addIndicator(int id, const QString& text, const QString& label);
    void setIndicatorText(int index, const QString& text);
    QString indicatorText(int index) const;
    QString indicatorLabel(int index) const;
    int indicatorCount() const { return int(m_indicators.size()); }

private:
    QMap<int, QLabel*> m_indicators;
    int m_nextIndex = 0;
};

} // namespace platform
