#pragma once
// The desktop ends a session with SIGTERM (a terminal going away sends SIGHUP, Ctrl-C
// SIGINT): the main window then closes as the user's close does, with the same save
// question, and a book with changes is never just dropped.
#include "platform/core/TerminationSignals.h"

class QWidget;

class CSessionEndSignals {
public:
    explicit CSessionEndSignals(QWidget* mainWindow);
    CSessionEndSignals(const CSessionEndSignals&) = delete;
    CSessionEndSignals& operator=(const CSessionEndSignals&) = delete;

private:
    platform::TerminationSignals m_signals{platform::TerminationSignals::Mode::NotifyOnly};
    platform::TerminationNotifier m_notifier;
};
