#pragma once
#include <windows.h>

#include <string>

#include "common/unique_handle.h"

// A named mutex of the session, not initially owned.
class NamedMutex {
public:
    explicit NamedMutex(const std::wstring& name) : handle_(::CreateMutexW(nullptr, FALSE, name.c_str())) {}
    bool valid() const { return handle_.valid(); }
    // Tries to own it without waiting; true when it is now owned by this thread.
    bool tryAcquire() {
        if (!handle_) {
            return false;
        }
        const DWORD result = ::WaitForSingleObject(handle_.get(), 0);
        return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    void close() { handle_.reset(); }

private:
    UniqueKernelHandle handle_;
};
