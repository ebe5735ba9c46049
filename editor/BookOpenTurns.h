#pragma once
// A book opens on the window's thread. While it does, the window turns its event loop between
// the open's steps so that it keeps painting and shows how far the unpacking has got. Input
// waits until the book is in (it is delivered afterwards), and a close asked for in the
// meantime runs once the open is done.
#include "platform/core/LongWork.h"

#include <QElapsedTimer>

class CMainFrame;

class CBookOpenTurns {
public:
    explicit CBookOpenTurns(CMainFrame& frame);
    ~CBookOpenTurns();
    CBookOpenTurns(const CBookOpenTurns&) = delete;
    CBookOpenTurns& operator=(const CBookOpenTurns&) = delete;

private:
    void Turn(qint64 done, qint64 total);

    CMainFrame& m_frame;
    QElapsedTimer m_sinceTurn;
    int m_nShownPercent = -1;
    platform::ScopedLongWorkHandler m_handler;
};
