#pragma once
// The window a headless component talks to: the converter's progress dialog implements
// it, tests use RecordingWindow. It keeps the Win32 call shapes the callers know: a
// synchronous message send and the per-window user-data value.
#include <atomic>
#include <cstdint>

namespace platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;

constexpr unsigned WM_APP = 0x8000;
constexpr int GWLP_USERDATA = -21;

class MessageWindow {
public:
    virtual ~MessageWindow() = default;

    // Handles one message synchronously; pointers in lParam stay valid only during the call.
    virtual LRESULT sendMessage(unsigned message, WPARAM wParam, LPARAM lParam) = 0;

    // Lets pending input (a Cancel click) reach the window while a long call runs on its
    // thread. The default has no queue to drain.
    virtual void dispatchPending() {}

    LONG_PTR userData() const { return m_userData.load(std::memory_order_relaxed); }
    LONG_PTR setUserData(LONG_PTR value) { return m_userData.exchange(value, std::memory_order_relaxed); }

private:
    std::atomic<LONG_PTR> m_userData{0};
};

using HWND = MessageWindow*;

// Null windows are tolerated as on the desktop: the send returns 0, reads return 0.
LRESULT SendMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
LONG_PTR GetWindowLongPtr(HWND window, int index);
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value); // returns the previous value
void PumpWindowMessages(HWND window);

} // namespace platform
