#pragma once
#include <windows.h>
#include <wininet.h>

#include "common/unique_handle.h"

struct InternetHandleTraits {
    using pointer = HINTERNET;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::InternetCloseHandle(value); }
};

using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;
