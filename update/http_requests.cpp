// The engine's network requests: the version file, single files and the setup report, all
// through the run's one session.
#include <windows.h>

#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/update_engine.h"

namespace {

constexpr DWORD kPauseAfterFailedTryMs = 300;

// Two tries of one download, with a pause after every failed one; a try that was asked to
// stop ends them at once.
template <typename Try>
int withTries(Try attempt) {
    for (int tries = 0; tries < 2; ++tries) {
        const std::int32_t result = attempt();
        if (result == FetchOk) {
            return 0;
        }
        if (result == FetchInterrupted) {
            return FetchInterrupted;
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
    UrlDownloader downloader(DownloadOptions{timeoutMs, maxListBytes}, &httpSession());
    return withTries([&] { return downloader.fetch(url, path); });
}

int UpdateEngine::downloadListSignature() {
    const std::wstring path = listSignaturePath();
    (void)deleteFileEvenReadOnly(path);
    UrlDownloader downloader(DownloadOptions{timeoutMs, kMaxListSignatureBytes}, &httpSession());
    const std::wstring url = updateBaseUrl + L"/" + std::wstring(kPatchListSignatureName);
    return withTries([&] { return downloader.fetch(url, path); });
}

int UpdateEngine::downloadFile(const std::wstring& url, const std::wstring& path) {
    UrlDownloader downloader(DownloadOptions{timeoutMs}, &httpSession());
    return withTries([&] { return downloader.fetch(url, path); });
}

int UpdateEngine::continueDownload(const std::wstring& url, const std::wstring& path, TransferWatch* watch,
                                   bool& resumed, Md5Digest& digest) {
    UrlDownloader downloader(DownloadOptions{timeoutMs}, &httpSession());
    const int result = withTries([&] { return downloader.fetchRest(url, path, watch); });
    if (result == 0) {
        resumed = downloader.resumed();
        digest = downloader.digest();
    }
    return result;
}

void UpdateEngine::httpGet(const std::wstring& url) {
    OpenedUrl opened;
    if (!httpSession().open(url, std::wstring(), opened)) {
        return;
    }
    char buffer[1024];
    DWORD received = 0;
    while (::InternetReadFile(opened.request.get(), buffer, sizeof buffer - 1, &received) && received > 0) {
        buffer[received] = '\0';
    }
}
