#pragma once
// Opens HTTP GET requests with time-outs that hold for the whole request: connecting, sending
// it, and waiting for the answer and its data.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string>

#include "update/http_rules.h"
#include "update/internet_handle.h"

// The agent name every request of the launcher carries.
inline constexpr wchar_t kAgentName[] = L"UrlTest";
// Connect, send and receive time-out of every request: a stalled server ends a try.
inline constexpr DWORD kDefaultTimeoutMs = 30000;

struct OpenedUrl {
    UniqueInternetHandle connection;  // empty when the connection belongs to a session
    UniqueInternetHandle request;
    DWORD status = 0;  // the HTTP status of the answer
    // The body's length as the answer announces it; nothing when it does not (a chunked or
    // connection-delimited body).
    std::optional<std::uint64_t> contentLength;
    // The range a 206 answer carries.
    std::optional<ContentRange> contentRange;
    // What a later request for the rest of this body can name in If-Range (a strong ETag or
    // Last-Modified); empty when the answer gave neither.
    std::wstring validator;
};

// A URL's server and object, as the library splits it.
template <typename Char>
struct CrackedUrl {
    std::basic_string<Char> host;
    INTERNET_PORT port = 0;
    std::basic_string<Char> object;  // path and query, at least "/"
    bool secure = false;
};

// Nothing when the URL cannot be cracked or is not http or https.
std::optional<CrackedUrl<char>> crackUrl(const std::string& url);
std::optional<CrackedUrl<wchar_t>> crackUrl(const std::wstring& url);

// Sends a GET for the object over a connection handle, with extra request header lines (each
// ending in CRLF, or none). Nothing opened when the request fails or the connection ends
// before an answer with a status begins (the library can report such a broken exchange as
// sent).
[[nodiscard]] bool sendGet(HINTERNET connection, const CrackedUrl<char>& url, const std::wstring& headers,
                           DWORD timeoutMs, OpenedUrl& opened);
[[nodiscard]] bool sendGet(HINTERNET connection, const CrackedUrl<wchar_t>& url, const std::wstring& headers,
                           DWORD timeoutMs, OpenedUrl& opened);
