#pragma once
// SIGINT, SIGTERM and SIGHUP, caught so that a program ends its work cleanly instead of
// dying in the middle of it (a half-written work folder, a lock, a temporary archive left
// behind). The handler only notes the signal and writes its number to a pipe, both safe in
// a signal handler; the program reacts where it is safe to: long work asks
// TerminationSignal() between steps, an event loop watches the pipe through a
// TerminationNotifier.
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

class TerminationSignals {
public:
    // InterruptWork: TerminationSignal() reports the signal, so that work in progress stops.
    // NotifyOnly: only the pipe hears of it; the program decides (the editor asks its questions).
    enum class Mode { InterruptWork, NotifyOnly };
    explicit TerminationSignals(Mode mode);
    // Puts the default actions back.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
};

// The signal caught while TerminationSignals(InterruptWork) is installed; 0 while none came.
int TerminationSignal();

// Calls `onSignal` with the signal's number from the event loop, once per signal that came
// while TerminationSignals is installed.
class TerminationNotifier {
public:
    explicit TerminationNotifier(std::function<void(int)> onSignal);
    ~TerminationNotifier();
    TerminationNotifier(const TerminationNotifier&) = delete;
    TerminationNotifier& operator=(const TerminationNotifier&) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace platform
