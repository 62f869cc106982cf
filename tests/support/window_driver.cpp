#include "tests/support/window_driver.h"

#include <cwchar>
#include <thread>

namespace {

struct Search {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    if (std::wcscmp(name, search->className) == 0 && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND waitForThreadWindow(DWORD threadId, const wchar_t* className, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        Search search{className, nullptr};
        ::EnumThreadWindows(threadId, &matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            syncWithWindow(search.found);
            return search.found;
        }
        // The caller's own windows may be asked something meanwhile (an owner being disabled).
        pumpUntil([] { return true; });
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

void syncWithWindow(HWND window) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

void clickClient(HWND window, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

POINT centreOf(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}
