// Handing a downloaded patch package to the patcher, which takes over from the launcher.
#include <windows.h>

#include "common/start_program.h"
#include "update/update_engine.h"
#include "update/update_host.h"

UpdateResult UpdateEngine::applyPatch() {
    const auto count = static_cast<std::int32_t>(patchQueue.size());
    std::int32_t position = 0;
    for (const UpdateFileEntry& entry : patchQueue) {
        host->showAllFileProgress(++position, count);
        if (entry.kind == kFileKind) {
            continue;
        }
        // A launcher that ended here without a patcher would leave the player with nothing.
        // The patcher gets " <package>|" and the installation folder as its current directory.
        if (!startProgram(patcherPath, L" " + std::wstring(fixedTextView(entry.fileName)) + L"|", exeDir)) {
            return HandoverFailed;
        }
        host->quitProcess();
        return Handover;
    }
    return Handover;
}
