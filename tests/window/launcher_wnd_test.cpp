// The main window: creation, colour skin, the update host, the Enter key, shape and hit test.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "tests/window/window_fixture.h"
#include "uilib/combo.h"
#include "uilib/progress.h"
#include "update/status_texts.h"
#include "update/update_engine.h"

namespace {

using LauncherWindow = LauncherWindowTest;

TEST_F(LauncherWindow, CreationBuildsTheSkinAndStartsTheUpdate) {
    rememberAccount(1001, L"player_one", L"");
    createWindow();
    CLauncherWnd& w = window();
    EXPECT_EQ(text(L"UpdateState"), L"正在更新文件列表.....");
    EXPECT_FALSE(control(L"Logon")->IsEnabled());
    EXPECT_TRUE(w.skinReady.load());
    EXPECT_FALSE(w.logonAllowed.load());
    ASSERT_EQ(updateStarts.size(), 1u);
    EXPECT_EQ(updateStarts[0], static_cast<UpdateHost*>(&w));
    EXPECT_EQ(text(L"LogonAccount"), L"player_one") << "the remembered accounts are loaded";
    EXPECT_EQ(dynamic_cast<CComboUI*>(control(L"Account"))->GetCount(), 1);

    // No caption or frame; the skin's size; centred on the work area.
    const LONG_PTR style = ::GetWindowLongPtrW(w.GetHwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    RECT rect;
    ::GetWindowRect(w.GetHwnd(), &rect);
    EXPECT_EQ(rect.right - rect.left, 600);
    EXPECT_EQ(rect.bottom - rect.top, 400);
    RECT area;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(rect.left, area.left + (area.right - area.left - 600) / 2);
    EXPECT_EQ(theLauncherWnd, &w);
}

// A window without its skin or without its update run is a dead end for the player: it is not
// created, and the launcher says why instead.
TEST_F(LauncherWindow, CreationFailsWithoutTheSkinOrTheUpdateRun) {
    {
        CLauncherWnd::Seams seams;
        seams.messages = &messages;
        seams.startUpdate = [](UpdateHost*) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        };
        CLauncherWnd failing(std::move(seams));
        EXPECT_FALSE(
            failing.CreateEx(0, L"KorvaLobbex", L"", 0x06020000, 100, 100, 1000, 1000, nullptr, nullptr, nullptr));
        EXPECT_EQ(failing.GetHwnd(), nullptr);
        EXPECT_EQ(failing.UpdateStartError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    CPaintManagerUI::SetResourcePath(executableFolder() + L"no-such-skin\\");
    EXPECT_FALSE(
        window().CreateEx(0, L"KorvaLobbex", L"", 0x06020000, 100, 100, 1000, 1000, nullptr, nullptr, nullptr));
    EXPECT_TRUE(updateStarts.empty()) << "no update runs for a window that is not there";
    EXPECT_EQ(window().UpdateStartError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(LauncherWindow, ColourSkinFromTheRegistry) {
    struct Case {
        const char* what;
        std::optional<DWORD> type, color;
        std::wstring image;
        std::uint32_t background;
    };
    const Case cases[] = {
        {"picture of folder 2", 3, std::nullopt, L"file='res\\Lobbex\\ColorSkin\\2\\bkg.jpg' corner='1000,750,1,1'",
         0xFFF0F0F0},
        {"a colour instead", 0xFFFF, 0xFF336699u, L"", 0xFF336699},
        {"plain colour key without a colour", 0xFFFF, std::nullopt, L"", 0xFFF0F0F0},
        {"no key", std::nullopt, std::nullopt, L"", 0xFFF0F0F0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (c.type) {
            writeDword(kInterfaceKey, L"InterfaceType", *c.type);
        }
        if (c.color) {
            writeDword(kInterfaceKey, L"InterfaceColor", *c.color);
        }
        createWindow();
        EXPECT_EQ(control(L"backlayout")->GetBkImage(), c.image);
        EXPECT_EQ(control(L"backlayout")->GetBkColor(), c.background);
        EXPECT_EQ(window().skinType, c.type.value_or(0xFFFF));
    }
}

// The worker's calls reach the controls on the window's thread, in the order of the calls.
TEST_F(LauncherWindow, UpdateHostFromTheWorkerThread) {
    createWindow();
    CLauncherWnd& w = window();
    auto* progress = dynamic_cast<CProgressUI*>(control(L"AllFileProgress"));
    ASSERT_NE(progress, nullptr);
    std::thread worker([&] {
        UpdateHost& host = w;
        host.showAllFileProgress(5, 0);  // no total: nothing changes
        host.showUpdateState(L"下载版本文件..");
        host.showAllFileProgress(1, 3);
        host.showUpdateState(L"正在校验版本...");
    });
    worker.join();
    EXPECT_EQ(text(L"UpdateState"), L"正在更新文件列表.....") << "nothing happens off the window's thread";
    pump();
    EXPECT_EQ(text(L"UpdateState"), L"正在校验版本...");
    EXPECT_EQ(progress->GetValue(), 33);

    std::thread([&] { static_cast<UpdateHost&>(w).showAllFileProgress(3, 3); }).join();
    pump();
    EXPECT_EQ(progress->GetValue(), 100);

    std::thread([&] {
        UpdateHost& host = w;
        host.showUpdateState(kFinalUpToDate);
        host.finishUpdate(true);
    }).join();
    EXPECT_TRUE(w.logonAllowed.load()) << "visible at once";
    pump();
    EXPECT_TRUE(control(L"Logon")->IsEnabled());
    EXPECT_EQ(text(L"UpdateState"), L"");
    EXPECT_EQ(progress->GetValue(), 0);
}

TEST_F(LauncherWindow, FinishWithoutLogonStillEnablesTheButton) {
    createWindow();
    std::thread([&] { static_cast<UpdateHost&>(window()).finishUpdate(false); }).join();
    pump();
    EXPECT_TRUE(control(L"Logon")->IsEnabled());
    EXPECT_FALSE(window().logonAllowed.load());
}

TEST_F(LauncherWindow, NothingIsShownBeforeTheSkinIsReady) {
    createWindow();
    window().skinReady = false;
    UpdateHost& host = window();
    host.showUpdateState(L"late");
    host.showAllFileProgress(1, 2);
    pump();
    EXPECT_EQ(text(L"UpdateState"), L"正在更新文件列表.....");
    EXPECT_EQ(dynamic_cast<CProgressUI*>(control(L"AllFileProgress"))->GetValue(), 0);
}

// Enter on the account or registration page before the update has finished is refused.
TEST_F(LauncherWindow, EnterIsRefusedWhileTheUpdateRuns) {
    createWindow();
    for (int page : {0, 2}) {
        window().logonPage = page;
        ::SendMessageW(window().GetHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    }
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownMessage& shown : messages.shown) {
        EXPECT_EQ(shown.title, L"提示");
        EXPECT_EQ(shown.text, L"正在更新请稍后尝试");
        EXPECT_EQ(shown.style, 0u);
    }
    window().logonPage = 1;
    ::SendMessageW(window().GetHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(messages.shown.size(), 2u) << "a web page takes Enter itself";
}

TEST_F(LauncherWindow, EnterChecksTheLogonFormOnceTheUpdateHasFinished) {
    createWindow();
    window().logonAllowed = true;
    ::SendMessageW(window().GetHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"账号输入错误");
}

LRESULT hitTestAt(HWND hwnd, POINT client) {
    ::ClientToScreen(hwnd, &client);
    return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
}

TEST_F(LauncherWindow, CaptionBandDragsExceptOnControls) {
    createWindow();
    const HWND hwnd = window().GetHwnd();
    EXPECT_EQ(hitTestAt(hwnd, {100, 20}), HTCAPTION) << "a label in the band";
    EXPECT_EQ(hitTestAt(hwnd, {250, 20}), HTCAPTION) << "the bare band";
    EXPECT_EQ(hitTestAt(hwnd, {550, 20}), HTCLIENT) << "the minimise button";
    EXPECT_EQ(hitTestAt(hwnd, {330, 20}), HTCLIENT) << "a link (TextUI)";
    EXPECT_EQ(hitTestAt(hwnd, {300, 200}), HTCLIENT) << "below the band";
    EXPECT_EQ(hitTestAt(hwnd, {1, 200}), HTLEFT);
    EXPECT_EQ(hitTestAt(hwnd, {598, 398}), HTBOTTOMRIGHT);
    EXPECT_EQ(hitTestAt(hwnd, {300, 1}), HTTOP) << "the sizing band wins over the caption";
}

bool hasRegion(HWND hwnd) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(hwnd, region);
    ::DeleteObject(region);
    return kind != ERROR;
}

TEST_F(LauncherWindow, RegionFollowsMinimiseAndRestore) {
    createWindow();
    const HWND hwnd = window().GetHwnd();
    EXPECT_TRUE(hasRegion(hwnd));
    ::ShowWindow(hwnd, SW_MINIMIZE);
    pump();
    EXPECT_FALSE(hasRegion(hwnd));
    ::ShowWindow(hwnd, SW_RESTORE);
    pump();
    EXPECT_TRUE(hasRegion(hwnd));
}

TEST_F(LauncherWindow, PasswordStrengthAndVerifyCode) {
    createWindow();
    EXPECT_EQ(window().PasswordStrength(L"abcde"), 0);
    EXPECT_EQ(window().PasswordStrength(L"abcDE1"), 3);
    for (int i = 0; i < 50; ++i) {
        window().ShowVerifyCode();
        ASSERT_EQ(window().verifyCode.size(), 4u);
        EXPECT_EQ(window().verifyCode.find_first_not_of(L"0123456789"), std::wstring::npos);
        EXPECT_EQ(text(L"Text_Number"), window().verifyCode);
    }
}

TEST_F(LauncherWindow, ControlFactoryMakesTheBrowserControls) {
    createWindow();
    for (const wchar_t* name : {L"web", L"QQLogonWeb", L"WeixLogonWeb", L"RegisterLogonWeb"}) {
        EXPECT_EQ(control(name)->GetClass(), L"WebBrowserUI") << std::string(name, name + wcslen(name));
    }
    EXPECT_EQ(window().CreateControl(L"Button"), nullptr);
    std::unique_ptr<CControlUI> made(window().CreateControl(L"webbrowserex"));
    EXPECT_NE(made, nullptr) << "the class name matches without regard to case";
}

}  // namespace
