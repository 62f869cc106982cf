#pragma once
// Fetches one URL into a local file with WinINet. Two ways: appending the body to what the
// file holds, where a failed try leaves the file as it was; or continuing a download from what
// it holds (a range request), where a failed try keeps what arrived for the next one.
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/unique_handle.h"
#include "identity/md5.h"
#include "update/http_session.h"
#include "update/patch_list_parser.h"

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
    FetchInterrupted = 7,   // asked to stop between two reads
};

// What other threads see of a download in progress.
struct TransferWatch {
    // The bytes the file holds: its kept beginning and what arrived since.
    std::atomic<std::uint64_t> held{0};
    // Set by another thread: the transfer stops at its next read, keeping what arrived.
    const std::atomic<bool>* interrupt = nullptr;
};

// The URL of a download as it goes on the wire: "\" turned into "/" in the text, the text in
// code page 936 (nothing when a character has no form there or the bytes do not fit
// kMaxUrlBytes), then escaped.
std::optional<std::string> downloadUrlBytes(const std::wstring& url);

// Where a download keeps the validator of the answer that began it.
std::wstring validatorPath(const std::wstring& download);

class UrlDownloader {
public:
    // Requests go through the session (one of the downloader's own when none is given).
    explicit UrlDownloader(DownloadOptions options = {}, HttpSession* session = nullptr);
    virtual ~UrlDownloader() { reset(); }
    UrlDownloader(const UrlDownloader&) = delete;
    UrlDownloader& operator=(const UrlDownloader&) = delete;

    // 0 opened (created when missing, position at its end); 1 cannot be opened or created;
    // 2 its length cannot be read.
    [[nodiscard]] std::int32_t openTarget(const std::wstring& path);
    // Appends the body to the file: a FetchResult, or the last error code of an unexpected
    // failure. On failure the target holds what it held before and the thread's last error
    // says why.
    [[nodiscard]] std::int32_t fetch(const std::wstring& url, const std::wstring& path);
    // Continues the download in path: asks for the rest after what it holds (naming the
    // validator kept beside it), appends it when the answer is that rest, and otherwise starts
    // the file again with the whole body. On failure the file keeps what arrived. With a watch,
    // reports the bytes held and stops when asked. On success digest() is the file's MD5.
    [[nodiscard]] std::int32_t fetchRest(const std::wstring& url, const std::wstring& path,
                                         TransferWatch* watch = nullptr);
    // Whether the last fetchRest kept a beginning of the file from before it.
    bool resumed() const { return resumed_; }
    const Md5Digest& digest() const { return digest_; }
    // Closes the target.
    void reset();

private:
    // transfer, with any exception turned into a failed try.
    std::int32_t guardedTransfer(const std::wstring& url, const std::wstring& path, bool rest, TransferWatch* watch);
    std::int32_t transfer(const std::wstring& url, const std::wstring& path, bool rest, TransferWatch* watch);
    // Opens the request for the rest of the target after offset: the opened answer in opened,
    // or a failure's FetchResult.
    std::int32_t openRequest(const std::string& wire, std::uint64_t offset, const std::wstring& validator,
                             OpenedUrl& opened);
    // Writes the body of an opened request at the target's position, hashing it into hash when
    // given: FetchOk, FetchIncomplete or FetchInterrupted.
    std::int32_t copyBody(HINTERNET request, const std::optional<std::uint64_t>& announced, Md5* hash,
                          TransferWatch* watch);
    // Hashes the first length bytes of the target; false when they cannot be read.
    bool hashKept(std::uint64_t length, Md5& hash);
    // Keeps the thread's last error (or code, when given) as the reason of a failure: closing
    // the internet handles afterwards changes the thread's own.
    std::int32_t failed(std::int32_t result, DWORD code = ::GetLastError());
    // Cuts the target back to length.
    bool truncateTo(std::uint64_t length);

    DownloadOptions options_;
    std::unique_ptr<HttpSession> ownSession_;
    HttpSession* session_;
    UniqueFileHandle target_;
    std::uint64_t openedLength_ = 0;
    DWORD failure_ = ERROR_SUCCESS;
    bool resumed_ = false;
    // The validator of the answer that began the file in this try (empty: it gave none).
    std::optional<std::wstring> beganWith_;
    Md5Digest digest_{};
};
