#include "framework/single_instance.h"

void bringToFront(HWND window) {
    if (::IsIconic(window)) {
        ::ShowWindow(window, SW_RESTORE);
    }
    ::SetActiveWindow(window);
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
}

bool SingleInstance::claim(const wchar_t* name, const wchar_t* windowClass) {
    NamedMutex mutex(name);
    const bool acquired = mutex.tryAcquire();
    if (HWND other = ::FindWindowW(windowClass, nullptr)) {
        bringToFront(other);
        return false;
    }
    if (!acquired) {
        return false;
    }
    // Held for the life of the process: released right after the check, a second start in
    // the moment before this one's window exists would run a second update over the same files.
    mutex_.emplace(std::move(mutex));
    return true;
}
