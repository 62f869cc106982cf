// Shows one message box and prints the code of the button that closed it.
//   msgbox_demo.exe STYLE TITLE TEXT      ("\n" in TEXT starts a new line)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "msgbox/ui_information.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (args == nullptr || count < 4) {
        return 2;
    }
    std::wstring text = args[3];
    for (std::size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 1)) {
        text.replace(at, 2, L"\n");
    }
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    CUiInformation box;
    const unsigned result =
        box.ShowMessageBox(args[2], text, static_cast<std::uint32_t>(std::wcstoul(args[1], nullptr, 0)));
    std::printf("%u\n", result);
    ::LocalFree(args);
    return 0;
}
