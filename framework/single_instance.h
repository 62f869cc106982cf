#pragma once
// One running program at a time: a named mutex of the session, owned from the check until the
// process ends, and the main window of the one that runs, brought to the front.
#include <windows.h>

#include <optional>

#include "framework/named_mutex.h"

class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another instance runs or is starting: a top-level window of windowClass is
    // brought to the front (restored first when minimised), or, while the other one has no
    // window yet, the mutex named name is owned by it. True when this one may run; it then
    // owns the mutex until the object is destroyed.
    [[nodiscard]] bool claim(const wchar_t* name, const wchar_t* windowClass);

private:
    std::optional<NamedMutex> mutex_;
};

// Restores a minimised window and brings it to the front.
void bringToFront(HWND window);
