// The engine's network requests: the version file, single files and the setup report.
#include <windows.h>

#include "update/http_open.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/update_engine.h"

namespace {

constexpr DWORD kPauseAfterFailedTryMs = 300;

// Two tries of one download, with a pause after every failed one.
int fetchWithTries(UrlDownloader& downloader, const std::wstring& url, const std::wstring& path) {
    for (int tries = 0; tries < 2; ++tries) {
        if (downloader.fetch(url, path) == 0) {
            return 0;
        }
        ::Sleep(kPauseAfterFailedTryMs);
    }
    return 1;
}

}  // namespace

int UpdateEngine::downloadPatchList() {
    const std::wstring url = updateBaseUrl + L"/" + std::wstring(kPatchListName);
    const std::wstring path = patchListPath();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    ::DeleteFileW(path.c_str());
    UrlDownloader downloader(DownloadOptions{timeoutMs, maxListBytes});
    return fetchWithTries(downloader, url, path);
}

int UpdateEngine::downloadListSignature() {
    const std::wstring path = listSignaturePath();
    (void)deleteFileEvenReadOnly(path);
    UrlDownloader downloader(DownloadOptions{timeoutMs, kMaxListSignatureBytes});
    return fetchWithTries(downloader, updateBaseUrl + L"/" + std::wstring(kPatchListSignatureName), path);
}

int UpdateEngine::downloadFile(const std::wstring& url, const std::wstring& path) {
    UrlDownloader downloader(DownloadOptions{timeoutMs});
    return fetchWithTries(downloader, url, path);
}

void UpdateEngine::httpGet(const std::wstring& url) {
    UniqueInternetHandle root(::InternetOpenW(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root) {
        return;
    }
    OpenedUrl opened;
    if (!openUrl(root.get(), url, timeoutMs, opened)) {
        return;
    }
    char buffer[1024];
    DWORD received = 0;
    while (::InternetReadFile(opened.request.get(), buffer, sizeof buffer - 1, &received) && received > 0) {
        buffer[received] = '\0';
    }
}
