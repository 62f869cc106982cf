#pragma once
// Driving windows in GUI tests as a user would: real input messages to real windows, and
// waiting for windows that another thread shows.
#include <windows.h>

#include <chrono>
#include <string>

// The first visible top-level window of a thread with that class; null when none appears in
// time.
HWND waitForThreadWindow(DWORD threadId, const wchar_t* className,
                         std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Lets the window's thread handle everything sent before (a round trip through its queue).
void syncWithWindow(HWND window);

// A left click at a client point: mouse move, button down and up, posted to the window.
void clickClient(HWND window, POINT point);
// The centre of a client rectangle.
POINT centreOf(const RECT& rect);

// Pumps the calling thread's messages until done() is true or the timeout passes.
template <typename Done>
bool pumpUntil(Done done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    }
    return true;
}
