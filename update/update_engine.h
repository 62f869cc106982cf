#pragma once
// The update run's object: a local object of the update worker thread, touched by nothing else.
#include <cstdint>
#include <string>

#include "update/update_file_entry.h"
#include "update/update_result.h"

class UpdateHost;

class UpdateEngine {
public:
    UpdateHost* host = nullptr;   // the launcher window, not owned
    UpdateQueue fileQueue;        // installation files to download
    UpdateQueue patchQueue;       // patch packages to download and apply
    std::wstring localVersion;    // installed version
    std::wstring launchVersion;   // installed patch level
    std::wstring serverVersion;   // version of the downloaded list
    std::wstring exeDir;          // folder of the running executable, ending in "\"
    std::wstring updateBaseUrl;   // root of every update download, without a trailing "/"
    std::int64_t totalBytes = 0;  // sum of the sizes of the queued entries
    std::int64_t doneBytes = 0;   // sum of the sizes of the files put in place

    // Queues the patch packages newer than the installed patch level: 2 (list unreadable or
    // refused), 3 (up to date) or 4 (work to do). Leaves the list file on disk.
    [[nodiscard]] UpdateResult checkPatches();
    // Queues the installation files whose digest differs from the list: 2, 3 or 4.
    // Deletes the list file, unless the list is refused.
    [[nodiscard]] UpdateResult checkFiles();

    // exeDir + "\" + "patchlist.dat"
    std::wstring patchListPath() const;
    // Where an entry's file lies in the installation.
    std::wstring localPath(const UpdateFileEntry& entry) const;
};
