#pragma once
// A converter that is told to stop (SIGTERM, SIGINT from the starter's terminal, SIGHUP)
// ends the way its Cancel button ends it, so that the PDF being written goes and the file
// already at the output path stays. The signal only wakes the event loop; the stop itself
// runs there, at the next message the run dispatches.
#include "platform/core/TerminationSignals.h"

#include <functional>

class CStopSignals {
public:
    explicit CStopSignals(std::function<void()> onStop);
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

private:
    platform::TerminationSignals m_signals{platform::TerminationSignals::Mode::NotifyOnly};
    platform::TerminationNotifier m_notifier;
};
