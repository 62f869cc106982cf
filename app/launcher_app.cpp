#include "app/launcher_app.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <ctime>

#include "framework/command_line.h"
#include "framework/named_mutex.h"
#include "msgbox/ui_message_presenter.h"
#include "uilib/paint_manager.h"
#include "window/launcher_wnd.h"

namespace {

constexpr int kIconResource = 128;

void bringToFront(HWND window) {
    if (::IsIconic(window)) {
        ::ShowWindow(window, SW_RESTORE);
    }
    ::SetActiveWindow(window);
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
}

}  // namespace

bool mayRunThisLauncher(const std::wstring& firstParameter) {
    if (firstParameter.find(L'|') != std::wstring::npos) {
        return true;
    }
    // The mutex only covers the moment of this check; afterwards the main window's class
    // tells a second launcher that this one runs.
    NamedMutex mutex(kLauncherClassName);
    const bool acquired = mutex.tryAcquire();
    if (HWND other = ::FindWindowW(kLauncherClassName, nullptr)) {
        bringToFront(other);
        return false;
    }
    return acquired;
}

bool CLauncherApp::InitApplication() {
    if (!Application::InitApplication()) {
        return false;
    }
    if (!mayRunThisLauncher(firstPlainParameter(CommandLine()))) {
        return false;
    }
    InitPlatformServices();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    WSADATA winsock;
    if (::WSAStartup(MAKEWORD(2, 0), &winsock) != 0) {
        UiMessagePresenter messages;
        (void)messages.show(L"错误提示", L"网络异常！", 0);
        return false;
    }

    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    if (::FindResourceW(Instance(), MAKEINTRESOURCEW(kIconResource), RT_GROUP_ICON) != nullptr) {
        windowClass.hIcon = ::LoadIconW(Instance(), MAKEINTRESOURCEW(kIconResource));
    }
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kLauncherClassName;
    RegisterWindowClass(windowClass);

    CPaintManagerUI::SetInstance(Instance());
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());

    auto* window = new CLauncherWnd();  // lives until the process ends
    window->CreateEx(0, kLauncherClassName, L"", 0x06020000, 100, 100, 1000, 1000, nullptr, nullptr, nullptr);
    ::ShowWindow(window->GetHwnd(), SW_SHOWNORMAL);
    window->LoadStartupPages();
    mainWindow = window;
    return true;
}
