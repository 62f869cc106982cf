#pragma once
// Opens an HTTP GET request for a URL under a root handle, with time-outs that hold for the
// whole request: connecting, sending it, and waiting for the answer and its data.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string>

#include "update/internet_handle.h"

struct OpenedUrl {
    UniqueInternetHandle connection;
    UniqueInternetHandle request;
    DWORD status = 0;  // the HTTP status of the answer
    // The body's length as the answer announces it; nothing when it does not (a chunked or
    // connection-delimited body).
    std::optional<std::uint64_t> contentLength;
};

// The URL in 8-bit form as it goes on the wire. Nothing opened when the URL cannot be
// cracked, the server cannot be reached, the request fails, or the connection ends before
// an answer with a status begins (the library can report such a broken exchange as sent).
[[nodiscard]] bool openUrl(HINTERNET root, const std::string& url, DWORD timeoutMs, OpenedUrl& opened);
// The same for a UTF-16 URL.
[[nodiscard]] bool openUrl(HINTERNET root, const std::wstring& url, DWORD timeoutMs, OpenedUrl& opened);
