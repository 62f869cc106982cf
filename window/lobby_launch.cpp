// Starting the lobby client: the argument text of each way of logging on, the process start
// from the launcher's own folder, and the end of the launcher.
#include <windows.h>

#include "common/fixed_text.h"
#include "common/start_program.h"
#include "uilib/option.h"
#include "update/update_engine.h"
#include "window/launch_arguments.h"
#include "window/launcher_wnd.h"

namespace {

constexpr wchar_t kLobbyProgram[] = L"Lobbex.exe";

}  // namespace

void CLauncherWnd::StartLobby(const std::wstring& arguments) {
    const std::wstring folder = executableFolder();
    if (startProgram(folder + kLobbyProgram, arguments, folder)) {
        // The lobby client takes over: the launcher ends at once, without closing anything.
        ::ExitProcess(0);
    }
    (void)messages_->show(L"错误", L"无法启动游戏", 0);
}

void CLauncherWnd::LaunchLobby(int logonType) {
    auto* save = Find<COptionUI>(L"SavePassword");
    const bool savePassword = save != nullptr && save->IsSelected();
    if (logonType == kLogonAfterRegistration) {
        StartLobby(registrationArguments(fixedTextView(registration.account), fixedTextView(registration.password),
                                         savePassword, fixedTextView(registration.nickname), registration.gender == 1));
    } else {
        StartLobby(accountLogonArguments(fixedTextView(logonAccount), fixedTextView(logonPassword), savePassword));
    }
}

void CLauncherWnd::OnQQLogon(const std::wstring& first, const std::wstring& second) {
    StartLobby(webLogonArguments(kLogonWithQQ, first, second));
}

void CLauncherWnd::OnAccountLogon(const std::wstring& first, const std::wstring& second) {
    StartLobby(webLogonArguments(kLogonWithAccount, first, second));
}
