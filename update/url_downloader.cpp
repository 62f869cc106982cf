#include "update/url_downloader.h"

#include <optional>
#include <vector>

#include "common/text_codec.h"
#include "update/http_open.h"
#include "update/http_rules.h"
#include "update/local_path.h"

std::optional<std::string> downloadUrlBytes(const std::wstring& url) {
    std::wstring text = url;
    for (wchar_t& c : text) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    const std::optional<std::string> bytes = encodeText(text, kListCodePage);
    if (!bytes || bytes->size() > kMaxUrlBytes) {
        return std::nullopt;  // never a cut or garbled URL
    }
    return escapeUrlBytes(*bytes);
}

std::int32_t UrlDownloader::openTarget(const std::wstring& path) {
    reset();
    UniqueFileHandle file(::CreateFileW(extendedLengthPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 1;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        return 2;
    }
    LARGE_INTEGER zero{};
    ::SetFilePointerEx(file.get(), zero, nullptr, FILE_END);
    openedLength_ = static_cast<std::uint64_t>(size.QuadPart);
    target_ = std::move(file);
    return 0;
}

void UrlDownloader::reset() {
    target_.reset();
}

std::int32_t UrlDownloader::fetch(const std::wstring& url, const std::wstring& path) {
    failure_ = ERROR_SUCCESS;
    std::int32_t result;
    try {
        result = transfer(url, path);
    } catch (...) {
        // An unexpected failure (memory for a conversion, say) is a failed try; its error
        // code must not read as success.
        const DWORD code = ::GetLastError();
        failure_ = code != 0 ? code : static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        result = static_cast<std::int32_t>(failure_);
    }
    if (result != FetchOk) {
        if (target_) {
            discardAppended();
        }
        ::SetLastError(failure_);
    }
    return result;
}

std::int32_t UrlDownloader::failed(std::int32_t result, DWORD code) {
    failure_ = code != ERROR_SUCCESS ? code : static_cast<DWORD>(ERROR_INTERNET_INTERNAL_ERROR);
    return result;
}

std::int32_t UrlDownloader::transfer(const std::wstring& url, const std::wstring& path) {
    for (int attempt = 0; attempt < 2;) {
        if (openTarget(path) != 0) {
            const DWORD code = ::GetLastError();
            reset();
            return failed(FetchTargetFailed, code);
        }
        const std::optional<std::string> wire = downloadUrlBytes(url);
        if (!wire) {
            return failed(FetchUrlFailed, ERROR_INTERNET_INVALID_URL);
        }
        UniqueInternetHandle root(::InternetOpenW(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!root) {
            ++attempt;
            continue;
        }
        OpenedUrl opened;
        if (!openUrl(root.get(), *wire, options_.timeoutMs, opened)) {
            return failed(FetchUrlFailed);
        }
        if (!isSuccessStatus(opened.status)) {
            // An error page is not the file: stored, it would read as a list without items or
            // fail its digest only after the whole transfer.
            return failed(FetchUrlFailed, ERROR_INTERNET_INVALID_OPERATION);
        }
        if (opened.contentLength && *opened.contentLength > options_.maxBytes) {
            return failed(FetchIncomplete, ERROR_FILE_TOO_LARGE);
        }
        return copyBody(opened.request.get(), opened.contentLength);
    }
    return failed(FetchNoRoot);
}

std::int32_t UrlDownloader::copyBody(HINTERNET request, const std::optional<std::uint64_t>& announced) {
    std::vector<char> buffer(kDownloadReadBytes);
    std::uint64_t received = 0;
    for (;;) {
        DWORD got = 0;
        if (!::InternetReadFile(request, buffer.data(), kDownloadReadBytes, &got)) {
            return failed(FetchIncomplete);
        }
        if (got == 0) {
            break;
        }
        received += got;
        if (received > options_.maxBytes) {
            return failed(FetchIncomplete, ERROR_FILE_TOO_LARGE);
        }
        DWORD written = 0;
        if (!::WriteFile(target_.get(), buffer.data(), got, &written, nullptr)) {
            return failed(FetchIncomplete);
        }
        if (written != got) {
            return failed(FetchIncomplete, ERROR_DISK_FULL);
        }
    }
    if (announced && received != *announced) {
        // The connection ended before the whole body arrived.
        return failed(FetchIncomplete, ERROR_INTERNET_CONNECTION_ABORTED);
    }
    return FetchOk;
}

void UrlDownloader::discardAppended() {
    LARGE_INTEGER length{};
    length.QuadPart = static_cast<LONGLONG>(openedLength_);
    if (::SetFilePointerEx(target_.get(), length, nullptr, FILE_BEGIN)) {
        ::SetEndOfFile(target_.get());
    }
}
