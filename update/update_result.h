#pragma once
#include <cstdint>

// Result of the update run and of its steps.
enum UpdateResult : std::int32_t {
    Handover = 0,            // patch application was reached
    ListDownloadFailed = 1,  // the version file could not be fetched
    VersionError = 2,        // the version file is unreadable or refused, or a download failed its digest
    UpToDate = 3,
    UpdatesFound = 4,
    FileDownloadFailed = 5,  // the user declined to retry a failed download
    FilesUpdated = 6,
    HandoverFailed = 7,  // the patcher could not be started with a downloaded package
};
