#include "platform/core/RecordingWindow.h"

namespace platform {

LRESULT RecordingWindow::sendMessage(unsigned message, WPARAM wParam, LPARAM lParam)
{
    RecordedMessage recorded{message, wParam, std::nullopt};
    if (message == WM_CONVERT_PROGRESS && lParam != 0)
        recorded.progress = *reinterpret_cast<const _tagPROGRESS_INFO*>(lParam);
    m_messages.push_back(recorded);
    if (m_reaction)
        m_reaction(m_messages.back(), *this);
    return 1;
}

std::vector<unsigned> RecordingWindow::progressKinds() const
{
    std::vector<unsigned> kinds;
    for (const RecordedMessage& recorded : m_messages)
        if (recorded.message == WM_CONVERT_PROGRESS)
            kinds.push_back(static_cast<unsigned>(recorded.wParam));
    return kinds;
}

} // namespace platform
