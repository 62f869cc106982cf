#pragma once
// The main window created in the test process, on the test's thread, from the test skin, with
// its outward effects recorded: message boxes, links, the start of the update worker.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/recording_host.h"
#include "window/launcher_wnd.h"

// The registry keys the lobby client writes, cleared before and after each test.
inline constexpr wchar_t kLobbexKey[] = L"Software\\KorvaGamePlatform\\Lobbex";
inline constexpr wchar_t kInterfaceKey[] = L"Software\\KorvaGamePlatform\\Lobbex\\Option\\Interface";
inline constexpr wchar_t kUserInfoKey[] = L"Software\\KorvaGamePlatform\\Lobbex\\UserInfo";

void deleteLobbexKeys();
void writeDword(const wchar_t* key, const wchar_t* name, DWORD value);
void writeString(const std::wstring& key, const wchar_t* name, const std::wstring& value);
// A remembered account as the lobby client stores it; password empty: none remembered.
void rememberAccount(int userId, const std::wstring& account, const std::wstring& password);
// The scrambled text the lobby client stores for a password.
std::wstring scramble(const std::wstring& password);
bool registryKeyExists(const std::wstring& key);

class LauncherWindowTest : public testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Creates the native window as start-up does (its creation builds the skin).
    void createWindow();
    CLauncherWnd& window() { return *window_; }
    CControlUI* control(const wchar_t* name) { return window_->PaintManager().FindControl(name); }
    std::wstring text(const wchar_t* name) {
        CControlUI* found = control(name);
        return found != nullptr ? found->GetText() : L"<missing " + std::wstring(name) + L">";
    }
    // Sends a notification as the UI library does.
    void notify(const wchar_t* type, const wchar_t* sender);
    void click(const wchar_t* sender) { notify(L"click", sender); }
    void pump();

    ScriptedMessages messages;
    std::vector<std::wstring> openedLinks;
    std::vector<UpdateHost*> updateStarts;

private:
    std::unique_ptr<CLauncherWnd> window_;
};
