// The lobby client of the demo installation: it records the argument text the launcher
// started it with in "lobby-started.txt" beside itself and shows it.
#include <windows.h>

#include <string>

#include "common/path_text.h"
#include "common/text_codec.h"
#include "common/unique_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring arguments = ::GetCommandLineW();
    const std::wstring report = folderOfPath(module) + L"lobby-started.txt";
    const std::string bytes = encodeText(arguments + L"\n", CP_UTF8).value_or(std::string());
    {
        UniqueFileHandle file(
            ::CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) {
            ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
    }
    ::MessageBoxW(nullptr, (L"大厅客户端已启动，参数：\n\"" + arguments + L"\"").c_str(), L"Lobbex 大厅（演示）",
                  MB_OK | MB_ICONINFORMATION);
    return 0;
}
