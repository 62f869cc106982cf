// Handing a downloaded patch package to the patcher, which takes over from the launcher.
#include <windows.h>

#include <vector>

#include "common/unique_handle.h"
#include "update/update_engine.h"
#include "update/update_host.h"

namespace {

constexpr wchar_t kPatcherName[] = L"clpenr.dll";

// Starts the patcher from the launcher's folder with " <package>|" and the installation
// folder as its current directory. Its result is not needed: the launcher ends either way.
void startPatcher(const std::wstring& exeDir, const std::wstring& packageName) {
    const std::wstring program = executableFolder() + kPatcherName;
    std::wstring arguments = L" " + packageName + L"|";
    std::vector<wchar_t> commandLine(arguments.begin(), arguments.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                         nullptr, exeDir.c_str(), &startup, &started)) {
        UniqueKernelHandle process(started.hProcess);
        UniqueKernelHandle thread(started.hThread);
    }
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
