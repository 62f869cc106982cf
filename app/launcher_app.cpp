#include "app/launcher_app.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <cwchar>

#include "framework/command_line.h"
#include "msgbox/ui_message_presenter.h"
#include "uilib/paint_manager.h"
#include "window/launcher_wnd.h"

namespace {

constexpr int kStartFailedExitCode = 1;

constexpr wchar_t kStartFailedTitle[] = L"错误";
// The main window could not be made (its skin missing, say), or the update could not start.
constexpr wchar_t kWindowFailedFormat[] = L"启动器窗口无法创建,请重新安装游戏。\n错误代码：%d";
constexpr wchar_t kUpdateStartFailedFormat[] = L"更新无法启动,请重新启动游戏。\n错误代码：%d";

}  // namespace

bool CLauncherApp::MayRun(bool handedOver) {
    return handedOver || instance_.claim(kLauncherClassName, kLauncherClassName);
}

bool CLauncherApp::FailStart(const wchar_t* format, DWORD code) {
    wchar_t text[256];
    std::swprintf(text, 256, format, static_cast<int>(code));
    UiMessagePresenter messages;
    (void)messages.show(kStartFailedTitle, text, MessageButtons::Ok);
    SetExitCode(kStartFailedExitCode);
    return false;
}

bool CLauncherApp::InitApplication() {
    if (!Application::InitApplication()) {
        return false;
    }
    if (!MayRun(firstPlainParameterHolds(CommandLine(), L'|'))) {
        return false;
    }
    InitPlatformServices();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    WSADATA winsock;
    if (::WSAStartup(MAKEWORD(2, 0), &winsock) != 0) {
        UiMessagePresenter messages;
        (void)messages.show(L"错误提示", L"网络异常！", MessageButtons::Ok);
        return false;
    }

    // The main window registers its class (with the program's icon) when it is created.
    CPaintManagerUI::SetInstance(Instance());
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());

    auto* window = new CLauncherWnd();  // lives until the process ends
    if (!window->Create()) {
        // Without its window, or without its update run, the launcher is a dead end.
        const DWORD code = ::GetLastError();
        if (window->UpdateStartError() != ERROR_SUCCESS) {
            return FailStart(kUpdateStartFailedFormat, window->UpdateStartError());
        }
        return FailStart(kWindowFailedFormat, code);
    }
    window->ShowWindow();
    window->Pages().loadStartupPages();
    mainWindow = window;
    return true;
}
