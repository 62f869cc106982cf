#pragma once
// Rules of the HTTP exchange that need no Windows service: which answers carry the file,
// how long a body is announced to be, and how a download URL goes on the wire.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Only a 2xx answer carries the file asked for; any other status is a failed try.
constexpr bool isSuccessStatus(std::uint32_t status) noexcept {
    return status >= 200 && status <= 299;
}

// The value of a Content-Length header: decimal digits only, surrounding blanks allowed.
// Nothing for anything else (a list of values, a sign, an overflow).
std::optional<std::uint64_t> parseContentLength(std::wstring_view value) noexcept;

// The bytes of a URL as they go on the wire: every byte that is not plain printable ASCII
// (the code page's multi-byte characters, whose second byte may be that of "\"), every control
// byte, blank and "\" is written as %XX, so that no code page on the way can change the
// request. "%", "#" and "?" stay as they are: the URL is the list's path joined to the
// server's base, which may carry escapes of its own.
std::string escapeUrlBytes(std::string_view bytes);
