#pragma once
// A converter that is told to stop (SIGTERM, SIGINT from the starter's terminal, SIGHUP)
// ends the way its Cancel button ends it, so that the PDF being written goes and the file
// already at the output path stays. The signal only wakes the event loop; the stop itself
// runs there, at the next message the run dispatches.
#include <functional>
#include <memory>

class QSocketNotifier;

class CStopSignals {
public:
    explicit CStopSignals(std::function<void()> onStop);
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

private:
    std::function<void()> m_onStop;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
