// A stand-in for a program the launcher starts (the patcher, the lobby client). It writes
// how it was started into "started-<its file name>.txt" in its current directory: the
// command line on the first line, the current directory on the second, in UTF-8. With
// "--stay" on its command line it then keeps running (for two minutes at most), as a running
// program of the installation.
#include <windows.h>

#include <string>

#include "common/text_codec.h"
#include "common/unique_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring name = module;
    name = name.substr(name.find_last_of(L'\\') + 1);
    wchar_t directory[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, directory);

    const std::wstring report = std::wstring(::GetCommandLineW()) + L"\n" + directory + L"\n";
    const std::string bytes = encodeText(report, CP_UTF8).value_or(std::string());
    // Written under another name first, so that a test never reads half a report.
    const std::wstring file = L"started-" + name + L".txt";
    const std::wstring part = file + L".part";
    {
        UniqueFileHandle out(
            ::CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) {
            return 1;
        }
        DWORD written = 0;
        ::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (!::MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    if (std::wstring(::GetCommandLineW()).find(L"--stay") != std::wstring::npos) {
        ::Sleep(120000);
    }
    return 0;
}
