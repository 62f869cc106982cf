// Downloading a queue: skip what is current, fetch under a temporary name, verify by digest,
// then put the file in place in one step, the installed version's files last.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "identity/file_digest.h"
#include "msgbox/message_presenter.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/local_path.h"
#include "update/replacement_order.h"
#include "update/status_texts.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr int kAttemptsPerSeries = 4;

std::wstring lowerCase(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// Digests compare without regard to case; an error text never equals a digest.
bool sameDigest(const std::wstring& actual, const std::wstring& expected) {
    return lowerCase(actual) == lowerCase(expected);
}

// The retry prompt after a failed series of attempts; true for "是". A prompt that cannot be
// shown counts as the close button.
bool askToRetry(UpdateHost& host) {
    try {
        wchar_t text[256];
        std::swprintf(text, 256, kRetryFormat, static_cast<int>(::GetLastError()));
        return host.messages().show(kRetryTitle, text, kRetryStyle) == kAnswerYes;
    } catch (...) {
        return false;
    }
}

}  // namespace

bool UpdateEngine::fetchWithRetries(const std::wstring& url, const std::wstring& download) {
    for (int attempt = 1;; ++attempt) {
        bool fetched = false;
        try {
            fetched = downloadFile(url, download) == 0;
        } catch (...) {
            fetched = false;  // a failed attempt like any other
        }
        if (fetched) {
            return true;
        }
        if (attempt < kAttemptsPerSeries) {
            continue;
        }
        if (!askToRetry(*host)) {
            return false;
        }
        attempt = 0;
    }
}

UpdateResult UpdateEngine::downloadQueue(const UpdateQueue& queue) {
    const wchar_t* serverFolder = &queue == &patchQueue ? L"\\GameVersion\\" : L"\\GameClient\\";
    auto showProgress = [this] {
        host->showAllFileProgress(static_cast<std::int32_t>(doneBytes >> 10),
                                  static_cast<std::int32_t>(totalBytes >> 10));
    };
    for (std::size_t position : replacementOrder(queue)) {
        const UpdateFileEntry& entry = queue[position];
        showProgress();
        const std::wstring target = localPath(entry);
        const std::wstring download = target + std::wstring(kDownloadSuffix);
        if (sameDigest(fileDigest(extendedLengthPath(target)), entry.md5)) {
            continue;
        }
        createParentDirectories(download);
        // What an interrupted run left behind would get the new data appended to it.
        deleteFileEvenReadOnly(download);

        const std::wstring url = updateBaseUrl + serverFolder + std::wstring(fixedTextView(entry.listPath));
        if (!fetchWithRetries(url, download)) {
            return FileDownloadFailed;
        }
        if (!sameDigest(fileDigest(extendedLengthPath(download)), entry.md5) || !putInPlace(download, target, exeDir)) {
            deleteFileEvenReadOnly(download);
            return VersionError;
        }
        doneBytes += entry.size;
        showProgress();
    }
    return FilesUpdated;
}
