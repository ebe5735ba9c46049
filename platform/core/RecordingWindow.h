#pragma once
// A window for tests: it records every message it is sent, with a copy of the progress
// record (which is only valid during the send), and can react to a message, for example
// by asking to cancel once a given page has been reported.
#include "platform/core/MessageWindow.h"
#include "platform/core/ProgressInfo.h"

#include <functional>
#include <optional>
#include <vector>

namespace platform {

struct RecordedMessage {
    unsigned message = 0;
    WPARAM wParam = 0;
    std::optional<_tagPROGRESS_INFO> progress; // WM_CONVERT_PROGRESS with a record
};

class RecordingWindow : public MessageWindow {
public:
    using Reaction = std::function<void(const RecordedMessage&, RecordingWindow&)>;

    LRESULT sendMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    void dispatchPending() override { ++m_pumps; }

    void setReaction(Reaction reaction) { m_reaction = std::move(reaction); }
    const std::vector<RecordedMessage>& messages() const { return m_messages; }
    std::vector<unsigned> progressKinds() const; // wParam of each WM_CONVERT_PROGRESS, in order
    int pumps() const { return m_pumps; }

private:
    std::vector<RecordedMessage> m_messages;
    Reaction m_reaction;
    int m_pumps = 0;
};

} // namespace platform
