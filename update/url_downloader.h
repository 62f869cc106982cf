#pragma once
// Fetches one URL into a local file with WinINet, appending to what the file holds. A
// transfer is complete or it failed: a failed try leaves the file as it was.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/unique_handle.h"
#include "update/patch_list_parser.h"

// The agent name every request of the launcher carries.
inline constexpr wchar_t kAgentName[] = L"UrlTest";
// Connect, send and receive time-out of every request: a stalled server ends a try.
inline constexpr DWORD kDefaultTimeoutMs = 30000;
// Bytes asked for per read while downloading.
inline constexpr DWORD kDownloadReadBytes = 64 * 1024;
// The longest download URL in its 8-bit form (before escaping).
inline constexpr std::size_t kMaxUrlBytes = 259;

struct DownloadOptions {
    DWORD timeoutMs = kDefaultTimeoutMs;
    // A longer body is a failed try (the version file has a sane size; files have none).
    std::uint64_t maxBytes = UINT64_MAX;
};

// What fetch returns besides a platform error code.
enum FetchResult : std::int32_t {
    FetchOk = 0,
    FetchTargetFailed = 1,  // the target cannot be opened
    FetchUrlFailed = 4,     // the URL cannot be opened, does not fit, or answered with a status other than 2xx
    FetchNoRoot = 5,        // no internet root handle in two attempts
    FetchIncomplete = 6,    // the body did not arrive whole or was not written whole
};

// The URL of a download as it goes on the wire: "\" turned into "/" in the text, the text in
// code page 936 (nothing when a character has no form there or the bytes do not fit
// kMaxUrlBytes), then escaped.
std::optional<std::string> downloadUrlBytes(const std::wstring& url);

class UrlDownloader {
public:
    explicit UrlDownloader(DownloadOptions options = {}) : options_(options) {}
    virtual ~UrlDownloader() { reset(); }
    UrlDownloader(const UrlDownloader&) = delete;
    UrlDownloader& operator=(const UrlDownloader&) = delete;

    // 0 opened (created when missing, position at its end); 1 cannot be opened or created;
    // 2 its length cannot be read.
    [[nodiscard]] std::int32_t openTarget(const std::wstring& path);
    // A FetchResult, or the last error code of an unexpected failure. On failure the target
    // holds what it held before and the thread's last error says why.
    [[nodiscard]] std::int32_t fetch(const std::wstring& url, const std::wstring& path);
    // Closes the target.
    void reset();

private:
    std::int32_t transfer(const std::wstring& url, const std::wstring& path);
    // Appends the body of an opened request to the target: FetchOk or FetchIncomplete.
    std::int32_t copyBody(HINTERNET request, const std::optional<std::uint64_t>& announced);
    // Keeps the thread's last error (or code, when given) as the reason of a failure: closing
    // the internet handles afterwards changes the thread's own.
    std::int32_t failed(std::int32_t result, DWORD code = ::GetLastError());
    // Cuts the target back to the length it had when it was opened.
    void discardAppended();

    DownloadOptions options_;
    UniqueFileHandle target_;
    std::uint64_t openedLength_ = 0;
    DWORD failure_ = ERROR_SUCCESS;
};
