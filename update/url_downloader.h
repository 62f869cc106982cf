#pragma once
// Fetches one URL into a local file with WinINet, appending to what the file holds.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

#include "common/unique_handle.h"

// The agent name every request of the launcher carries.
inline constexpr wchar_t kAgentName[] = L"UrlTest";
// Connect, send and receive time-out of every request: a stalled server ends a try.
inline constexpr DWORD kDefaultTimeoutMs = 30000;
// Bytes asked for per read while downloading.
inline constexpr DWORD kDownloadReadBytes = 64 * 1024;
// The longest download URL in its 8-bit form.
inline constexpr std::size_t kMaxUrlBytes = 259;

struct DownloadOptions {
    DWORD timeoutMs = kDefaultTimeoutMs;
    // An answer with an error status (400 and above) is a failed try instead of a body.
    bool errorStatusFails = false;
};

class UrlDownloader {
public:
    explicit UrlDownloader(DownloadOptions options = {}) : options_(options) {}
    virtual ~UrlDownloader() { reset(); }
    UrlDownloader(const UrlDownloader&) = delete;
    UrlDownloader& operator=(const UrlDownloader&) = delete;

    // 0 opened (created when missing, position at its end); 1 cannot be opened or created;
    // 2 its length cannot be read.
    [[nodiscard]] std::int32_t openTarget(const std::wstring& path);
    // 0 success; 1 the target cannot be opened; 4 the URL cannot be opened, does not fit 259
    // bytes in the thread's ANSI code page, or (when asked) answered with an error status;
    // 5 no internet root handle in two attempts; otherwise the last error code of an
    // unexpected failure. Every "\" of the URL is sent as "/".
    [[nodiscard]] std::int32_t fetch(const std::wstring& url, const std::wstring& path);
    // Closes the target.
    void reset();

private:
    std::int32_t transfer(const std::wstring& url, const std::wstring& path);

    DownloadOptions options_;
    UniqueFileHandle target_;
};
