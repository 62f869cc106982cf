// Starting the lobby client (a stand-in Lobbex.exe beside the test program that records how it
// was started): the argument texts, the folder, and the end of the launcher.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/build_settings.h"
#include "common/text_codec.h"
#include "tests/support/temp_dir.h"
#include "tests/window/window_fixture.h"
#include "uilib/option.h"
#include "update/update_engine.h"

namespace {

std::wstring reportFile() {
    return executableFolder() + L"started-Lobbex.exe.txt";
}

// The stand-in's report: its command line and current directory.
std::pair<std::wstring, std::wstring> lobbyStart() {
    for (int i = 0; i < 200 && !fileExists(reportFile()); ++i) {
        ::Sleep(50);
    }
    const std::wstring text = decodeBytes(readFileBytes(reportFile()), CP_UTF8);
    const std::size_t end = text.find(L'\n');
    if (end == std::wstring::npos) {
        return {};
    }
    return {text.substr(0, end), text.substr(end + 1, text.find(L'\n', end + 1) - end - 1)};
}

class LobbyLaunch : public LauncherWindowTest {
protected:
    void SetUp() override {
        ::DeleteFileW(reportFile().c_str());
        LauncherWindowTest::SetUp();
        createWindow();
    }
    void TearDown() override {
        LauncherWindowTest::TearDown();
        ::DeleteFileW(reportFile().c_str());
    }
    void setSavePassword(bool save) { dynamic_cast<COptionUI*>(control(L"SavePassword"))->SetSelected(save); }
};

using LobbyLaunchDeathTest = LobbyLaunch;

TEST_F(LobbyLaunchDeathTest, AccountLogonWithRememberedPassword) {
    EXPECT_EXIT(
        {
            control(L"LogonAccount")->SetText(L"player_one");
            control(L"PassWord")->SetText(L"secret");
            setSavePassword(true);
            window().Update().setLogonAllowed(true);
            click(L"Logon");
            ::ExitProcess(3);
        },
        testing::ExitedWithCode(0), "");
    const auto [commandLine, directory] = lobbyStart();
    EXPECT_EQ(commandLine, L" 0|player_one|secret|1|0");
    EXPECT_EQ(directory + L"\\", executableFolder());
}

TEST_F(LobbyLaunchDeathTest, AccountLogonWithoutRememberingFromAnotherFolder) {
    EXPECT_EXIT(
        {
            TempDir elsewhere;
            ::SetCurrentDirectoryW(elsewhere.path().c_str());
            control(L"LogonAccount")->SetText(L"player_two");
            control(L"PassWord")->SetText(L"pass");
            setSavePassword(false);
            window().Update().setLogonAllowed(true);
            ::SendMessageW(window().GetHWND(), WM_KEYDOWN, VK_RETURN, 0);  // Enter on the account page
            ::ExitProcess(3);
        },
        testing::ExitedWithCode(0), "");
    const auto [commandLine, directory] = lobbyStart();
    EXPECT_EQ(commandLine, L" 0|player_two|pass|0|0");
    EXPECT_EQ(directory + L"\\", executableFolder()) << "the launcher's folder, not the current one";
}

TEST_F(LobbyLaunchDeathTest, RegistrationLogon) {
    EXPECT_EXIT(
        {
            control(L"edit_Account")->SetText(L"newbie01");
            notify(L"killfocus", L"edit_Account");
            control(L"edit_GameName")->SetText(L"\u5C0F\u9F99\u5973");
            notify(L"killfocus", L"edit_GameName");
            control(L"edit_PassWord_1")->SetText(L"Secret123");
            control(L"edit_PassWord_2")->SetText(L"Secret123");
            notify(L"setfocus", L"edit_OK");
            control(L"edit_OK")->SetText(window().Registration().verifyCode());
            dynamic_cast<COptionUI*>(control(L"Option_boy"))->SetSelected(true);
            setSavePassword(true);
            window().Update().setLogonAllowed(true);
            window().Tabs().enter(LogonPage::Registration);
            click(L"Register_Ok");
            ::ExitProcess(3);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(lobbyStart().first, L" 2|newbie01|Secret123|1|\u5C0F\u9F99\u5973|1|0");
}

TEST_F(LobbyLaunchDeathTest, QQWebLogon) {
    EXPECT_EXIT(
        {
            setSavePassword(true);  // the web logons never remember
            window().Update().setLogonAllowed(true);
            window().OnQQLogon(std::wstring(kWebBaseUrl) + L"//qlogin.aspx", L"", L"token-1");
            ::ExitProcess(3);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(lobbyStart().first, L" 1||token-1|0|0");
}

TEST_F(LobbyLaunchDeathTest, AccountWebLogon) {
    EXPECT_EXIT(
        {
            window().Update().setLogonAllowed(true);
            window().OnAccountLogon(std::wstring(kWebBaseUrl) + L"/Member/Logon.aspx?x=1", L"web_user", L"web_pass");
            ::ExitProcess(3);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(lobbyStart().first, L" 0|web_user|web_pass|0|0");
}

// Without Lobbex.exe the user is told and the launcher stays as it was.
TEST_F(LobbyLaunch, MissingLobbyClientIsReported) {
    const std::wstring lobby = executableFolder() + L"Lobbex.exe";
    const std::wstring away = lobby + L".away";
    ASSERT_TRUE(::MoveFileW(lobby.c_str(), away.c_str()));
    control(L"LogonAccount")->SetText(L"player_one");
    control(L"PassWord")->SetText(L"secret");
    window().Update().setLogonAllowed(true);
    click(L"Logon");
    window().OnQQLogon(kWebBaseUrl, L"a", L"b");
    ::MoveFileW(away.c_str(), lobby.c_str());
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownMessage& shown : messages.shown) {
        EXPECT_EQ(shown.title, L"错误");
        EXPECT_EQ(shown.text, L"无法启动游戏");
        EXPECT_EQ(shown.style, 0u);
    }
    EXPECT_EQ(text(L"LogonAccount"), L"player_one");
}

}  // namespace
