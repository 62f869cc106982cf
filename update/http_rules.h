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

// A Content-Range header of a 206 answer: "bytes FIRST-LAST/TOTAL", TOTAL "*" when unknown.
struct ContentRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::optional<std::uint64_t> total;
};
// Nothing for anything else (another unit, a range that ends before it begins or beyond the
// total, a multi-part answer's header).
std::optional<ContentRange> parseContentRange(std::wstring_view value) noexcept;

// The request header lines that ask for the rest of a file from offset on: "Range:", and
// "If-Range:" with the validator of the first answer when there is one, so that a changed file
// comes whole instead of its rest appended to the old beginning.
std::wstring resumeHeaders(std::uint64_t offset, std::wstring_view validator);

// The validator a resumed request can name: a strong ETag, else Last-Modified; empty when the
// answer gave neither (a weak ETag cannot validate a range).
std::wstring rangeValidator(std::wstring_view etag, std::wstring_view lastModified);

// What an answer to a request for a file's rest from offset (0: the whole file) means.
enum class ResumeAnswer {
    Append,    // 206 with the rest from offset: append it
    Whole,     // 2xx with the whole file: start the file again and take it
    AskWhole,  // 416, or a 206 with another range: start the file again and ask for all of it
    Failed,    // any other status: a failed try
};
ResumeAnswer resumeAnswer(std::uint32_t status, std::uint64_t offset,
                          const std::optional<ContentRange>& range) noexcept;

// What to do with a download an earlier try or run left, of kept bytes, for a file the list
// gives expected bytes: continue it, verify it as it is (it may be whole), or discard it (it
// is longer than the file, so not a beginning of it).
enum class KeptDownload { Continue, Verify, Discard };
constexpr KeptDownload keptDownload(std::uint64_t kept, std::uint64_t expected) noexcept {
    return kept < expected ? KeptDownload::Continue : kept == expected ? KeptDownload::Verify : KeptDownload::Discard;
}

// The bytes of a URL as they go on the wire: every byte that is not plain printable ASCII
// (the code page's multi-byte characters, whose second byte may be that of "\"), every control
// byte, blank and "\" is written as %XX, so that no code page on the way can change the
// request. "%", "#" and "?" stay as they are: the URL is the list's path joined to the
// server's base, which may carry escapes of its own.
std::string escapeUrlBytes(std::string_view bytes);
