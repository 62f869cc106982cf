// The update run: its states, status texts and the worker thread's work.
#include <windows.h>

#include "update/local_files.h"
#include "update/status_texts.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr int kListDownloadCalls = 3;

// The status text of a result that ends the run; null for the results that go on.
const wchar_t* endingStateText(UpdateResult result) {
    switch (result) {
        case ListDownloadFailed:
            return kStateCheckFailed;
        case VersionError:
            return kStateVersionError;
        case UpToDate:
            return kStateUpToDate;
        case FileDownloadFailed:
            return kStateDownloadFailed;
        case HandoverFailed:
            return kStatePatcherFailed;
        default:
            return nullptr;
    }
}

}  // namespace

UpdateResult UpdateEngine::run() {
    // What an earlier run renamed aside (a running launcher it replaced) can go now.
    removeAsideFiles(exeDir);

    host->showUpdateState(kStateFetchingList);
    // A list that arrived but is not signed is fetched again as one that did not arrive: it may
    // come from a release switched while it and its signature were fetched.
    bool fetched = false;
    bool unsignedList = false;
    for (int call = 0; call < kListDownloadCalls && !fetched; ++call) {
        if (downloadPatchList() == 0) {
            fetched = patchListSigned();
            unsignedList = unsignedList || !fetched;
        }
    }
    if (!fetched) {
        if (unsignedList) {
            return endRun(VersionError);  // nothing of such a list is acted on
        }
        host->showUpdateState(kStateListFailed);
        return ListDownloadFailed;
    }

    host->showUpdateState(kStateChecking);
    UpdateResult result = checkPatches();
    if (result == UpdatesFound && !patchQueue.empty()) {
        host->showUpdateState(kStateUpdatingPatches);
        // The patcher gets only what was downloaded and verified whole.
        result = downloadQueue(patchQueue);
        if (result != FilesUpdated) {
            return endRun(result);
        }
        host->showUpdateState(kStateApplyingPatches);
        return endRun(applyPatch());
    }
    if (result != UpdatesFound && result != FilesUpdated) {
        return endRun(result);
    }

    result = checkFiles();
    if (result == UpdatesFound && !fileQueue.empty()) {
        host->showUpdateState(kStateUpdatingFiles);
        result = downloadQueue(fileQueue);
    }
    return endRun(result == UpdatesFound ? UpToDate : result);
}

UpdateResult UpdateEngine::endRun(UpdateResult result) {
    if (const wchar_t* text = endingStateText(result)) {
        host->showUpdateState(text);
    }
    if (result == FileDownloadFailed) {
        host->quitProcess();
    }
    return result;
}

UpdateResult runAndFinish(UpdateEngine& engine) {
    UpdateHost* host = engine.host;
    UpdateResult result;
    try {
        result = engine.run();
    } catch (...) {
        // Out of memory or the like: the run ends with its text instead of a frozen status line.
        result = engine.endRun(VersionError);
    }
    if (result == UpToDate || result == FilesUpdated) {
        if (host->isSkinReady()) {
            host->showUpdateState(result == UpToDate ? kFinalUpToDate : kFinalFilesUpdated);
        }
        host->finishUpdate(true);
    }
    return result;
}

unsigned updateThreadProc(UpdateHost* host) {
    UpdateEngine engine;
    ::InvalidateRect(host->windowHandle(), nullptr, TRUE);
    engine.loadConfig(host);
    (void)runAndFinish(engine);
    return 0;
}
