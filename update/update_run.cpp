// The update run: its states, status texts and the worker thread's work.
#include <windows.h>

#include "update/status_texts.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr int kListDownloadCalls = 3;

}  // namespace

UpdateResult UpdateEngine::run() {
    host->showUpdateState(kStateFetchingList);
    bool fetched = false;
    for (int call = 0; call < kListDownloadCalls && !fetched; ++call) {
        fetched = downloadPatchList() == 0;
    }
    if (!fetched) {
        host->showUpdateState(kStateListFailed);
        return ListDownloadFailed;
    }

    host->showUpdateState(kStateChecking);
    UpdateResult result = checkPatches();
    switch (result) {
        case ListDownloadFailed:
            host->showUpdateState(kStateCheckFailed);
            return result;
        case VersionError:
            host->showUpdateState(kStateVersionError);
            return result;
        case UpToDate:
            host->showUpdateState(kStateUpToDate);
            return result;
        case UpdatesFound:
            if (!patchQueue.empty()) {
                host->showUpdateState(kStateUpdatingPatches);
                // Whatever the downloads gave, the patcher gets its turn.
                (void)downloadQueue(patchQueue);
                host->showUpdateState(kStateApplyingPatches);
                applyPatch();
                return Handover;
            }
            break;
        case FileDownloadFailed:
            host->showUpdateState(kStateDownloadFailed);
            host->quitProcess();
            return result;
        case FilesUpdated:
            break;
        default:
            return result;
    }

    result = checkFiles();
    for (;;) {
        switch (result) {
            case ListDownloadFailed:
                host->showUpdateState(kStateCheckFailed);
                return result;
            case VersionError:
                host->showUpdateState(kStateVersionError);
                return result;
            case UpToDate:
                host->showUpdateState(kStateUpToDate);
                return result;
            case UpdatesFound:
                if (fileQueue.empty()) {
                    result = UpToDate;
                    continue;
                }
                host->showUpdateState(kStateUpdatingFiles);
                result = downloadQueue(fileQueue);
                if (result == UpdatesFound) {
                    result = UpToDate;
                }
                continue;
            case FileDownloadFailed:
                host->showUpdateState(kStateDownloadFailed);
                host->quitProcess();
                return result;
            default:
                return result;
        }
    }
}

UpdateResult runAndFinish(UpdateEngine& engine) {
    UpdateHost* host = engine.host;
    const UpdateResult result = engine.run();
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
