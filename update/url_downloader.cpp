#include "update/url_downloader.h"

#include <optional>
#include <vector>

#include "common/text_codec.h"
#include "update/http_open.h"

namespace {

constexpr std::int32_t kFetchOk = 0;
constexpr std::int32_t kFetchTargetFailed = 1;
constexpr std::int32_t kFetchUrlFailed = 4;
constexpr std::int32_t kFetchNoRoot = 5;

}  // namespace

std::int32_t UrlDownloader::openTarget(const std::wstring& path) {
    reset();
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 1;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        return 2;
    }
    LARGE_INTEGER zero{};
    ::SetFilePointerEx(file.get(), zero, nullptr, FILE_END);
    target_ = std::move(file);
    return 0;
}

void UrlDownloader::reset() {
    target_.reset();
}

std::int32_t UrlDownloader::fetch(const std::wstring& url, const std::wstring& path) {
    try {
        return transfer(url, path);
    } catch (...) {
        // An unexpected failure (memory for a conversion, say) is a failed try; its error
        // code must not read as success.
        const DWORD code = ::GetLastError();
        return code != 0 ? static_cast<std::int32_t>(code) : static_cast<std::int32_t>(ERROR_NOT_ENOUGH_MEMORY);
    }
}

std::int32_t UrlDownloader::transfer(const std::wstring& url, const std::wstring& path) {
    for (int attempt = 0; attempt < 2;) {
        if (openTarget(path) != 0) {
            reset();
            return kFetchTargetFailed;
        }
        std::optional<std::string> narrow = encodeText(url, CP_THREAD_ACP);
        if (!narrow || narrow->size() > kMaxUrlBytes) {
            return kFetchUrlFailed;  // never a cut or garbled URL
        }
        for (char& c : *narrow) {
            if (c == '\\') {
                c = '/';
            }
        }
        UniqueInternetHandle root(::InternetOpenW(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!root) {
            ++attempt;
            continue;
        }
        OpenedUrl opened;
        if (!openUrl(root.get(), *narrow, options_.timeoutMs, opened)) {
            return kFetchUrlFailed;
        }
        const HINTERNET request = opened.request.get();
        if (options_.errorStatusFails && opened.status >= 400) {
            return kFetchUrlFailed;
        }
        std::vector<char> buffer(kDownloadReadBytes);
        for (;;) {
            DWORD received = 0;
            ::InternetReadFile(request, buffer.data(), kDownloadReadBytes, &received);
            if (received == 0) {
                break;
            }
            DWORD written = 0;
            ::WriteFile(target_.get(), buffer.data(), received, &written, nullptr);
        }
        return kFetchOk;
    }
    return kFetchNoRoot;
}
