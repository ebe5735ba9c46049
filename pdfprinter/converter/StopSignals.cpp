#include "pdfprinter/converter/StopSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_wake[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_wake[1], &byte, 1);
}

} // namespace

CStopSignals::CStopSignals(std::function<void()> onStop) : m_onStop(std::move(onStop))
{
    if (::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_wake[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        char bytes[16];
        while (::read(g_wake[0], bytes, sizeof bytes) > 0) {
        }
        m_onStop();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

CStopSignals::~CStopSignals()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, SIG_DFL);
    m_notifier.reset();
    for (int& fd : g_wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}
