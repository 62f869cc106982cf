// Downloading a queue: skip what is current, fetch under a temporary name, verify by digest,
// then put the file in place in one step.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "identity/file_digest.h"
#include "msgbox/message_presenter.h"
#include "update/status_texts.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr int kAttemptsPerSeries = 4;
constexpr int kReplaceCalls = 3;

std::wstring lowerCase(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// Digests compare without regard to case; an error text never equals a digest.
bool sameDigest(const std::wstring& actual, const std::wstring& expected) {
    return lowerCase(actual) == lowerCase(expected);
}

void deleteFileEvenReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    ::DeleteFileW(path.c_str());
}

// Makes the downloaded data durable, then replaces the target in one step, so that neither a
// crash nor a power cut leaves the installation without the file. False when the target
// cannot be replaced (locked, say): the old file then stays as it was.
bool replaceWithDownload(const std::wstring& download, const std::wstring& target) {
    {
        UniqueFileHandle file(
            ::CreateFileW(download.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !::FlushFileBuffers(file.get())) {
            return false;
        }
    }
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    for (int call = 0; call < kReplaceCalls; ++call) {
        if (::MoveFileExW(download.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        ::Sleep(100);  // a scanner that holds the file a moment
    }
    return false;
}

}  // namespace

void createParentDirectories(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle found(::FindFirstFileW(path.c_str(), &data));
    if (found && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return;
    }
    // Every prefix that ends before a "\", in order; the whole path is never created.
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] != L'\\') {
            continue;
        }
        const std::wstring prefix = path.substr(0, i);
        if (::CreateDirectoryW(prefix.c_str(), nullptr)) {
            ::SetFileAttributesW(prefix.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

UpdateResult UpdateEngine::downloadQueue(const UpdateQueue& queue) {
    const wchar_t* serverFolder = &queue == &patchQueue ? L"\\GameVersion\\" : L"\\GameClient\\";
    auto showProgress = [this] {
        host->showAllFileProgress(static_cast<std::int32_t>(doneBytes >> 10),
                                  static_cast<std::int32_t>(totalBytes >> 10));
    };
    for (const UpdateFileEntry& entry : queue) {
        showProgress();
        const std::wstring target = localPath(entry);
        const std::wstring download = target + L".rkx";
        if (sameDigest(fileDigest(target), entry.md5)) {
            continue;
        }
        createParentDirectories(download);
        // What an interrupted run left behind would get the new data appended to it.
        deleteFileEvenReadOnly(download);

        for (int attempt = 1;; ++attempt) {
            try {
                const std::wstring url = updateBaseUrl + serverFolder + std::wstring(fixedTextView(entry.listPath));
                if (downloadFile(url, download) == 0) {
                    break;
                }
            } catch (...) {
                continue;  // the attempt is over; the next one follows
            }
            if (attempt < kAttemptsPerSeries) {
                continue;
            }
            unsigned answer = 0;
            try {
                wchar_t text[256];
                std::swprintf(text, 256, kRetryFormat, static_cast<int>(::GetLastError()));
                answer = host->messages().show(kRetryTitle, text, kRetryStyle);
            } catch (...) {
                continue;
            }
            if (answer != kAnswerYes) {
                return FileDownloadFailed;
            }
            attempt = 0;
        }

        if (!sameDigest(fileDigest(download), entry.md5) || !replaceWithDownload(download, target)) {
            deleteFileEvenReadOnly(download);
            return VersionError;
        }
        doneBytes += entry.size;
        showProgress();
    }
    return FilesUpdated;
}
