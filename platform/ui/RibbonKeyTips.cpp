#include "platform/ui/RibbonKeyTips.h"

#include <QLabel>
#include <QWidget>

namespace platform {

void RibbonKeyTips::show(Level level, const QList<Target>& targets)
{
    hide();
    m_level = level;
    m_targets = targets;
    for (const Target& target : targets) {
        QWidget* widget = target.widget;
        if (!widget || !widget->isVisible())
            continue;
        QWidget* window = widget->window();
        auto* label = new QLabel(target.tip.toUpper(), window);
        label->setObjectName(QStringLiteral("RibbonKeyTip"));
        label->setStyleSheet(QStringLiteral("QLabel { background: #fffbe0; color: #202020; border: 1px solid #707070;"
                                            " border-radius: 2px; padding: 0px 3px; font-size: 9pt; }"));
        label->adjustSize();
        const QRect area = target.area.isEmpty() ? widget->rect() : target.area;
        const QPoint anchor = widget->mapTo(window, QPoint(area.center().x(), area.bottom()));
        label->move(anchor.x() - label->width() / 2, anchor.y() - label->height() / 2);
        label->raise();
        label->show();
        m_labels.append(label);
    }
}

void RibbonKeyTips::hide()
{
    for (const QPointer<QLabel>& label : m_labels)
        delete label.data();
    m_labels.clear();
    m_targets.clear();
    m_level = Level::None;
}

QStringList RibbonKeyTips::tips() const
{
    QStringList out;
    for (const Target& target : m_targets)
        out << target.tip;
    return out;
}

const RibbonKeyTips::Target* RibbonKeyTips::find(const QString& typed) const
{
    for (const Target& target : m_targets)
        if (!typed.isEmpty() && target.tip.compare(typed, Qt::CaseInsensitive) == 0)
            return &target;
    return nullptr;
}

QStringList RibbonKeyTips::sequence(int count)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    QStringList out;
    for (int i = 0; i < count && i < letters.size(); ++i)
        out << QString(letters.at(i));
    return out;
}

} // namespace platform
