#include "editor/SessionEndSignals.h"

#include <QPointer>
#include <QWidget>

CSessionEndSignals::CSessionEndSignals(QWidget* mainWindow)
    : m_notifier([window = QPointer<QWidget>(mainWindow)](int) {
        if (window)
            window->close();
    })
{
}
