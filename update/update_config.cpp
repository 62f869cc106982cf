// Configuration beside the executable and the one-time setup report.
#include <windows.h>

#include <cwchar>
#include <vector>

#include "common/path_text.h"
#include "identity/machine_id.h"
#include "identity/release_keys.h"
#include "identity/text_digest.h"
#include "common/build_settings.h"
#include "update/update_engine.h"

namespace {

// A profile text value; at most 259 characters of it, empty when absent.
std::wstring profileText(const wchar_t* section, const wchar_t* key, const std::wstring& file) {
    wchar_t value[260] = {};
    ::GetPrivateProfileStringW(section, key, L"", value, 260, file.c_str());
    return value;
}

}  // namespace

UpdateEngine::UpdateEngine()
    : setupReportBaseUrl(kSetupReportBaseUrl),
      patcherPath(executableFolder() + L"clpenr.dll"),
      transfers(kDownloadTransfers),
      releaseKeys(builtInReleaseKeys().begin(), builtInReleaseKeys().end()) {}

HttpSession& UpdateEngine::httpSession() {
    if (!session_) {
        session_ = std::make_unique<HttpSession>(timeoutMs);
    }
    return *session_;
}

std::wstring executableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            return folderOfPath(std::wstring_view(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

void UpdateEngine::loadConfig(UpdateHost* windowHost) {
    loadConfigFrom(windowHost, executableFolder());
}

void UpdateEngine::loadConfigFrom(UpdateHost* windowHost, const std::wstring& folder) {
    host = windowHost;
    exeDir = folder;
    const std::wstring serverFile = exeDir + L"data\\Server.inf";
    localVersion = profileText(L"Version", L"version", serverFile);
    launchVersion = profileText(L"Launch", L"version", exeDir + L"data\\Launch.inf");
    updateBaseUrl = profileText(L"ServerInfo", L"UpdateServer", serverFile);

    const std::wstring frameFile = exeDir + L"data\\FrameVersion.ini";
    const int setupVersion =
        static_cast<int>(::GetPrivateProfileIntW(L"GameVersion", L"SetupVersion", 0, frameFile.c_str()));
    if (setupVersion == 0) {
        return;
    }
    const std::wstring machine = machineId();
    wchar_t signText[64];
    std::swprintf(signText, 64, L"%d%lsmpkr@5307", setupVersion, machine.c_str());
    const std::wstring sign = textDigest(signText);
    wchar_t url[260];
    const int length = std::swprintf(url, 260, L"%ls/setuptg.aspx?id=%d&machine=%ls&sign=%ls&type=1",
                                     setupReportBaseUrl.c_str(), setupVersion, machine.c_str(), sign.c_str());
    if (length > 0) {
        httpGet(url);
    }
    // The report is due once: a failed one is not repeated.
    ::WritePrivateProfileStringW(L"GameVersion", L"SetupVersion", L"0", frameFile.c_str());
}
