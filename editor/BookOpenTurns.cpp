#include "editor/BookOpenTurns.h"

#include "editor/EditorTexts.h"
#include "editor/MainFrame.h"
#include "platform/ui/StatusIndicatorBar.h"

#include <QCoreApplication>

CBookOpenTurns::CBookOpenTurns(CMainFrame& frame)
    : m_frame(frame)
    , m_handler([this](qint64 done, qint64 total) { Turn(done, total); })
{
    m_frame.m_bOpeningBook = true;
    m_sinceTurn.start();
}

CBookOpenTurns::~CBookOpenTurns()
{
    m_frame.m_bOpeningBook = false;
    if (m_nShownPercent >= 0)
        m_frame.StatusBar().clearMessage();
    if (m_frame.m_bCloseAfterOpen) {
        m_frame.m_bCloseAfterOpen = false;
        QMetaObject::invokeMethod(&m_frame, [frame = &m_frame] { frame->close(); }, Qt::QueuedConnection);
    }
}

void CBookOpenTurns::Turn(qint64 done, qint64 total)
{
    if (m_sinceTurn.elapsed() < m_frame.m_nOpenTurnEveryMs)
        return;
    if (total > 0) {
        const int percent = int(done * 100 / total);
        if (percent != m_nShownPercent) {
            m_frame.StatusBar().showMessage(texts::OpeningBook().arg(percent));
            m_nShownPercent = percent;
        }
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceTurn.restart();
}
