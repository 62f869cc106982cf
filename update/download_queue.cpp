// Downloading a queue: a small pool of transfers fetches the files under temporary names,
// continuing what an earlier try or run left, and verifies them by digest; the files are put
// in place one by one in the queue's replacement order, the installed version's files last.
// The retry prompt comes from the thread that puts files in place, one at a time, with the
// transfers paused.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <deque>

#include "common/ascii_case.h"
#include "identity/file_digest.h"
#include "common/message_presenter.h"
#include "update/http_rules.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/local_path.h"
#include "update/progress.h"
#include "update/replacement_order.h"
#include "update/status_texts.h"
#include "update/transfer_pool.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr int kAttemptsPerSeries = 4;
// How long the thread that puts files in place waits before it looks at the progress again.
constexpr std::uint32_t kProgressLookMs = 50;

// Digests compare without regard to the case of their hexadecimal letters; an error text never
// equals a digest.
bool sameDigest(const std::wstring& actual, const std::wstring& expected) {
    return equalsIgnoringAsciiCase(actual, expected);
}

// The retry prompt after a failed series of attempts, for the error code of its last attempt;
// true for "是". A prompt that cannot be shown counts as the close button.
bool askToRetry(UpdateHost& host, DWORD error) {
    try {
        wchar_t text[256];
        std::swprintf(text, 256, kRetryFormat, static_cast<int>(error));
        return host.messages().show(kRetryTitle, text, kRetryButtons) == kAnswerYes;
    } catch (...) {
        return false;
    }
}

// One file of the queue as the transfers and the placing thread share it.
struct QueuedFile {
    const UpdateFileEntry* entry = nullptr;
    std::wstring url;
    std::wstring target;
    std::wstring download;
    enum class Ready { Not, Current, Fetched, Mismatch };
    std::atomic<Ready> ready{Ready::Not};  // written by the transfer
    bool checked = false;                  // whether the transfer compared the installed file
    bool placed = false;                   // put in place (by the placing thread)
    DWORD error = ERROR_SUCCESS;           // of the last attempt of a failed series
    TransferWatch watch;
};

// Deletes a download and the validator kept beside it.
void discardDownload(const std::wstring& download) {
    (void)deleteFileEvenReadOnly(download);
    (void)deleteFileEvenReadOnly(validatorPath(download));
}

// One turn of a transfer on a file: nothing when the installed file is current, else a series
// of attempts to fetch the download, which is then verified. A resumed download that fails its
// digest (the rest of another version, say) is fetched once more from its first byte.
TransferPool::Outcome fetchQueued(UpdateEngine& engine, QueuedFile& file, const std::atomic<bool>& interrupt) {
    if (!file.checked) {
        file.checked = true;
        // A file of another length than the list's is not current: no need to read it.
        if (fileLength(file.target) == std::optional<std::uint64_t>(file.entry->size) &&
            sameDigest(fileDigest(extendedLengthPath(file.target)), file.entry->md5)) {
            file.ready = QueuedFile::Ready::Current;
            return TransferPool::Outcome::Done;
        }
        createParentDirectories(file.download);
        // What an earlier try or run left: whole already, a beginning to continue, or not a
        // beginning of this file at all.
        if (const std::optional<std::uint64_t> kept = fileLength(file.download)) {
            const KeptDownload use = keptDownload(*kept, file.entry->size);
            if (use == KeptDownload::Verify &&
                sameDigest(fileDigest(extendedLengthPath(file.download)), file.entry->md5)) {
                file.watch.held = *kept;
                file.ready = QueuedFile::Ready::Fetched;
                return TransferPool::Outcome::Done;
            }
            if (use != KeptDownload::Continue) {
                discardDownload(file.download);
            }
        }
    }
    file.watch.interrupt = &interrupt;
    bool refetched = false;
    for (int attempt = 1; attempt <= kAttemptsPerSeries; ++attempt) {
        if (interrupt) {
            return TransferPool::Outcome::Interrupted;
        }
        bool resumed = false;
        Md5Digest digest{};
        int result;
        try {
            result = engine.continueDownload(file.url, file.download, &file.watch, resumed, digest);
        } catch (...) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            result = 1;  // a failed attempt like any other
        }
        if (result == FetchInterrupted) {
            return TransferPool::Outcome::Interrupted;
        }
        if (result != 0) {
            file.error = ::GetLastError();
            continue;
        }
        if (sameDigest(digestText(digest), file.entry->md5)) {
            file.ready = QueuedFile::Ready::Fetched;
            return TransferPool::Outcome::Done;
        }
        if (resumed && !refetched) {
            refetched = true;
            discardDownload(file.download);
            --attempt;  // not a failed attempt: the beginning it continued was not this file's
            continue;
        }
        file.ready = QueuedFile::Ready::Mismatch;
        return TransferPool::Outcome::Done;
    }
    return TransferPool::Outcome::Failed;
}

}  // namespace

UpdateResult UpdateEngine::downloadQueue(const UpdateQueue& queue) {
    const bool patches = &queue == &patchQueue;
    const wchar_t* serverFolder = patches ? L"\\GameVersion\\" : L"\\GameClient\\";
    std::deque<QueuedFile> files(queue.size());  // never moved: the transfers hold on to them
    for (std::size_t i = 0; i < queue.size(); ++i) {
        files[i].entry = &queue[i];
        files[i].url = updateBaseUrl + serverFolder + std::wstring(fixedTextView(queue[i].listPath));
        files[i].target = localPath(queue[i]);
        files[i].download = files[i].target + std::wstring(kDownloadSuffix);
    }
    if (files.empty()) {
        return FilesUpdated;
    }

    ProgressPacer pacer;
    const auto showProgress = [&](bool force) {
        std::int64_t done = doneBytes;
        for (const QueuedFile& file : files) {
            if (!file.placed && file.ready != QueuedFile::Ready::Current) {
                done += static_cast<std::int64_t>(std::min<std::uint64_t>(file.watch.held, file.entry->size));
            }
        }
        if (pacer.due(::GetTickCount64(), done >> 10, force)) {
            host->showAllFileProgress(static_cast<std::int32_t>(done >> 10),
                                      static_cast<std::int32_t>(totalBytes >> 10));
        }
    };
    showProgress(true);

    // The patch way stays one package after another: the patcher gets them in order.
    const std::vector<std::size_t> order = replacementOrder(queue);
    TransferPool pool(order, patches ? 1 : transfers, [&](std::size_t i, const std::atomic<bool>& interrupt) {
        return fetchQueued(*this, files[i], interrupt);
    });
    for (std::size_t position : order) {
        for (;;) {
            std::size_t failedFile = 0;
            const TransferPool::Event event = pool.waitFor(position, kProgressLookMs, failedFile);
            if (event == TransferPool::Event::Done) {
                break;
            }
            if (event == TransferPool::Event::Failed) {
                pool.pause();
                if (!askToRetry(*host, files[failedFile].error)) {
                    pool.stop();
                    return FileDownloadFailed;
                }
                pool.retry(failedFile);
                pool.resume();
            }
            showProgress(false);
        }
        QueuedFile& file = files[position];
        if (file.ready == QueuedFile::Ready::Current) {
            continue;
        }
        if (file.ready != QueuedFile::Ready::Fetched || !putInPlace(file.download, file.target, exeDir)) {
            pool.stop();
            discardDownload(file.download);
            return VersionError;
        }
        (void)deleteFileEvenReadOnly(validatorPath(file.download));
        file.placed = true;
        doneBytes += file.entry->size;
        showProgress(true);
    }
    return FilesUpdated;
}
