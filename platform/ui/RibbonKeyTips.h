#pragma once
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace platform {

// The little labels that name the key choosing each ribbon element while key tips are
// shown. One level is on screen at a time: the tab row, or the buttons of one tab.
class RibbonKeyTips {
public:
    enum class Level { None, TabRow, Buttons };
    struct Target {
        QWidget* widget = nullptr;
        QRect area;                  // within the widget; empty for the whole widget
        QString tip;
        std::function<void()> choose;
    };

    void show(Level level, const QList<Target>& targets);
    void hide();
    Level level() const { return m_level; }
    QStringList tips() const;
    // The target whose tip is `typed`, ignoring case; null when none is.
    const Target* find(const QString& typed) const;
    // Tips for `count` elements in order: A to Z, then 0 to 9; later ones get none.
    static QStringList sequence(int count);

private:
    Level m_level = Level::None;
    QList<Target> m_targets;
    QList<QPointer<QLabel>> m_labels;
};

} // namespace platform
