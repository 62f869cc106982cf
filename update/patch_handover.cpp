// Handing a downloaded patch package to the patcher, which takes over from the launcher.
#include <windows.h>

#include "common/start_program.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr wchar_t kPatcherName[] = L"clpenr.dll";

// Starts the patcher from the launcher's folder with " <package>|" and the installation
// folder as its current directory. Its result is not needed: the launcher ends either way.
void startPatcher(const std::wstring& exeDir, const std::wstring& packageName) {
    (void)startProgram(executableFolder() + kPatcherName, L" " + packageName + L"|", exeDir);
}

}  // namespace

void UpdateEngine::applyPatch() {
    const auto count = static_cast<std::int32_t>(patchQueue.size());
    std::int32_t position = 0;
    for (const UpdateFileEntry& entry : patchQueue) {
        host->showAllFileProgress(++position, count);
        if (entry.kind == kFileKind) {
            continue;
        }
        startPatcher(exeDir, std::wstring(fixedTextView(entry.fileName)));
        host->quitProcess();
        return;
    }
}
