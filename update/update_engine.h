#pragma once
// The update run's object: a local object of the update worker thread, touched by nothing else.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "identity/ecdsa_p256.h"

#include "update/http_session.h"
#include "update/local_files.h"
#include "update/update_file_entry.h"
#include "update/update_result.h"
#include "update/url_downloader.h"

class UpdateHost;

class UpdateEngine {
public:
    UpdateHost* host = nullptr;   // the launcher window, not owned; set by loadConfig
    UpdateQueue fileQueue;        // installation files to download
    UpdateQueue patchQueue;       // patch packages to download and apply
    std::wstring localVersion;    // installed version
    std::wstring launchVersion;   // installed patch level
    std::wstring serverVersion;   // version of the downloaded list
    std::wstring exeDir;          // folder of the running executable, ending in "\"
    std::wstring updateBaseUrl;   // root of every update download, without a trailing "/"
    std::int64_t totalBytes = 0;  // sum of the sizes of the queued entries
    std::int64_t doneBytes = 0;   // sum of the sizes of the files put in place

    // Build-time settings, kept here so that tests can point them at loopback servers.
    std::wstring setupReportBaseUrl;  // scheme and host of the setup-statistics endpoint
    std::wstring patcherPath;         // the patcher in the launcher's own folder
    DWORD timeoutMs = kDefaultTimeoutMs;
    std::uint64_t maxListBytes = kMaxPatchListBytes;  // a longer version file is refused
    unsigned transfers;                               // installation files fetched at once
    // The keys one of which must have signed the version file; empty: it is not signed.
    std::vector<P256PublicKey> releaseKeys;

    UpdateEngine();

    // Reads the installed versions and the server address beside the executable and sends
    // the setup report when one is due.
    void loadConfig(UpdateHost* windowHost);
    // The same for an installation in the given folder (ending in "\").
    void loadConfigFrom(UpdateHost* windowHost, const std::wstring& folder);
    // The whole run after loadConfig: fetch the list, check, download, verify, replace or
    // hand over.
    [[nodiscard]] UpdateResult run();
    // Shows the status text of a result that ends the run (a failed download also ends the
    // process) and returns the result.
    UpdateResult endRun(UpdateResult result);

    // Fetches "patchlist.dat" into exeDir: 0 success, 1 failure (two tries).
    [[nodiscard]] int downloadPatchList();
    // Fetches "patchlist.dat.sig", the version file's signature, into exeDir: 0 success,
    // 1 failure (two tries).
    [[nodiscard]] int downloadListSignature();
    // With releaseKeys: whether the downloaded version file is signed by one of them (its
    // signature fetched and checked); a list that is not is deleted unread. True without keys.
    [[nodiscard]] bool patchListSigned();
    // Fetches a URL into a file (appending): 0 success, 1 failure (two tries).
    [[nodiscard]] int downloadFile(const std::wstring& url, const std::wstring& path);
    // Continues a download from what the file holds (a range request), or fetches it whole
    // when the server cannot continue it: 0 success, 1 failure (two tries; what arrived stays
    // for the next). With a watch, reports the bytes held and stops when asked (7). resumed
    // tells whether a beginning from before was kept; digest is the whole file's MD5.
    [[nodiscard]] int continueDownload(const std::wstring& url, const std::wstring& path, TransferWatch* watch,
                                       bool& resumed, Md5Digest& digest);
    // Sends one request and discards the answer.
    void httpGet(const std::wstring& url);

    // Queues the patch packages newer than the installed patch level: 2 (list unreadable or
    // refused), 3 (up to date) or 4 (work to do). Leaves the list file on disk.
    [[nodiscard]] UpdateResult checkPatches();
    // Queues the installation files whose digest differs from the list: 2, 3 or 4.
    // Deletes the list file, unless the list is refused.
    [[nodiscard]] UpdateResult checkFiles();

    // Downloads, verifies and puts in place the entries of patchQueue or fileQueue (the
    // installed version's files last): 6 all handled, 2 a file failed its digest or could not
    // be put in place, 5 the user declined to retry.
    [[nodiscard]] UpdateResult downloadQueue(const UpdateQueue& queue);
    // Hands the first patch package to the patcher and ends the process: Handover (when the
    // host's quitProcess returns, or when patchQueue holds no package), or HandoverFailed when
    // the patcher cannot be started.
    [[nodiscard]] UpdateResult applyPatch();

    // The one WinINet session of the run, made on first use with timeoutMs.
    HttpSession& httpSession();

    // exeDir + "\" + "patchlist.dat"
    std::wstring patchListPath() const;
    // exeDir + "\" + "patchlist.dat.sig"
    std::wstring listSignaturePath() const;
    // Where an entry's file lies in the installation.
    std::wstring localPath(const UpdateFileEntry& entry) const;

private:
    std::unique_ptr<HttpSession> session_;
};

// The run of a configured engine and, when it ends with 3 or 6, its final text and
// finishUpdate(true) on the engine's host.
UpdateResult runAndFinish(UpdateEngine& engine);

// The update worker thread's work: configuration, one run with its final texts; always 0.
unsigned updateThreadProc(UpdateHost* host);

// The folder of the running executable, ending in "\".
std::wstring executableFolder();
