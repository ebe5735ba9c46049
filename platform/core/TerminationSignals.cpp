#include "platform/core/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_caught = 0;
volatile std::sig_atomic_t g_interruptWork = 0;

void onSignal(int signal)
{
    const int savedErrno = errno;
    if (g_interruptWork)
        g_caught = signal;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(Mode mode)
{
    g_caught = 0;
    g_interruptWork = mode == Mode::InterruptWork;
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int signal : kSignals)
        std::signal(signal, SIG_DFL);
    g_interruptWork = 0;
}

int TerminationSignal() { return g_caught; }

TerminationNotifier::TerminationNotifier(std::function<void(int)> onSignal)
{
    if (g_pipe[0] < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [onSignal = std::move(onSignal)] {
                         char numbers[16];
                         ssize_t count = 0;
                         while ((count = ::read(g_pipe[0], numbers, sizeof numbers)) > 0) {
                             for (ssize_t i = 0; i < count; ++i)
                                 onSignal(numbers[i]);
                         }
                     });
}

TerminationNotifier::~TerminationNotifier() = default;

} // namespace platform
