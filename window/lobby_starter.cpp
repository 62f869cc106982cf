#include "window/lobby_starter.h"

#include <windows.h>

#include "common/start_program.h"
#include "update/update_engine.h"

namespace {

constexpr wchar_t kLobbyProgram[] = L"Lobbex.exe";

}  // namespace

void LobbyStarter::start(const std::optional<std::wstring>& arguments) {
    if (!arguments) {
        (void)messages_.show(L"错误提示", L"登录信息不能包含字符“|”", MessageButtons::Ok);
        return;
    }
    const std::wstring folder = executableFolder();
    if (startProgram(folder + kLobbyProgram, *arguments, folder)) {
        // The lobby client takes over: the launcher ends at once, without closing anything.
        ::ExitProcess(0);
    }
    (void)messages_.show(L"错误", L"无法启动游戏", MessageButtons::Ok);
}
