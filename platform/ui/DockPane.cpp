#include "platform/ui/DockPane.h"

namespace platform {

DockPane::DockPane(const QString& caption, int id, QWidget* content, QWidget* parent)
    : QDockWidget(caption, parent)
    , m_id(id)
{
    setObjectName(QStringLiteral("pane%1").arg(id));
    setWidget(content);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                | QDockWidget::DockWidgetFloatable);
    resize(200, 200);
}

void DockPane::setPaneIcon(const QIcon& icon)
{
    m_icon = icon;
    setWindowIcon(icon);
}

} // namespace platform
