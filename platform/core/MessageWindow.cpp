#include "platform/core/MessageWindow.h"

namespace platform {

LRESULT SendMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam)
{
    return window ? window->sendMessage(message, wParam, lParam) : 0;
}

LONG_PTR GetWindowLongPtr(HWND window, int index)
{
    return window && index == GWLP_USERDATA ? window->userData() : 0;
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value)
{
    return window && index == GWLP_USERDATA ? window->setUserData(value) : 0;
}

void PumpWindowMessages(HWND window)
{
    if (window)
        window->dispatchPending();
}

} // namespace platform
