// The main window: creation, colour skin, the update host, the Enter key, shape and hit test.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/window/window_fixture.h"
#include "uilib/combo.h"
#include "uilib/progress.h"
#include "update/status_texts.h"
#include "common/build_settings.h"
#include "update/update_engine.h"
#include "window/password_strength.h"

namespace {

using LauncherWindow = LauncherWindowTest;

TEST_F(LauncherWindow, CreationBuildsTheSkinAndStartsTheUpdate) {
    rememberAccount(1001, L"player_one", L"");
    createWindow();
    CLauncherWnd& w = window();
    EXPECT_EQ(text(L"UpdateState"), L"正在更新文件列表.....");
    EXPECT_FALSE(control(L"Logon")->IsEnabled());
    EXPECT_TRUE(w.Update().isSkinReady());
    EXPECT_FALSE(w.Update().logonAllowed());
    ASSERT_EQ(updateStarts.size(), 1u);
    EXPECT_EQ(updateStarts[0], static_cast<UpdateHost*>(&w.Update()));
    EXPECT_EQ(text(L"LogonAccount"), L"player_one") << "the remembered accounts are loaded";
    EXPECT_EQ(dynamic_cast<CComboUI*>(control(L"Account"))->GetCount(), 1);

    // No caption or frame; the skin's size; centred on the work area.
    const LONG_PTR style = ::GetWindowLongPtrW(w.GetHWND(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    RECT rect;
    ::GetWindowRect(w.GetHWND(), &rect);
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
        EXPECT_FALSE(failing.Create());
        EXPECT_EQ(failing.GetHWND(), nullptr);
        EXPECT_EQ(failing.UpdateStartError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    CPaintManagerUI::SetResourcePath(executableFolder() + L"no-such-skin\\");
    EXPECT_FALSE(window().Create());
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
        EXPECT_EQ(window().Pages().colorSkin().type, c.type.value_or(0xFFFF));
    }
}

// The worker's calls reach the controls on the window's thread, in the order of the calls.
TEST_F(LauncherWindow, UpdateHostFromTheWorkerThread) {
    createWindow();
    CLauncherWnd& w = window();
    auto* progress = dynamic_cast<CProgressUI*>(control(L"AllFileProgress"));
    ASSERT_NE(progress, nullptr);
    std::thread worker([&] {
        UpdateHost& host = w.Update();
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

    std::thread([&] { w.Update().showAllFileProgress(3, 3); }).join();
    pump();
    EXPECT_EQ(progress->GetValue(), 100);

    std::thread([&] {
        UpdateHost& host = w.Update();
        host.showUpdateState(kFinalUpToDate);
        host.finishUpdate(true);
    }).join();
    EXPECT_TRUE(w.Update().logonAllowed()) << "visible at once";
    pump();
    EXPECT_TRUE(control(L"Logon")->IsEnabled());
    EXPECT_EQ(text(L"UpdateState"), L"");
    EXPECT_EQ(progress->GetValue(), 0);
}

TEST_F(LauncherWindow, FinishWithoutLogonStillEnablesTheButton) {
    createWindow();
    std::thread([&] { window().Update().finishUpdate(false); }).join();
    pump();
    EXPECT_TRUE(control(L"Logon")->IsEnabled());
    EXPECT_FALSE(window().Update().logonAllowed());
}

TEST_F(LauncherWindow, NothingIsShownBeforeTheSkinIsReady) {
    createWindow();
    window().Update().setSkinReady(false);
    UpdateHost& host = window().Update();
    host.showUpdateState(L"late");
    host.showAllFileProgress(1, 2);
    pump();
    EXPECT_EQ(text(L"UpdateState"), L"正在更新文件列表.....");
    EXPECT_EQ(dynamic_cast<CProgressUI*>(control(L"AllFileProgress"))->GetValue(), 0);
}

// Enter on the account or registration page before the update has finished is refused.
TEST_F(LauncherWindow, EnterIsRefusedWhileTheUpdateRuns) {
    createWindow();
    for (LogonPage page : {LogonPage::AccountForm, LogonPage::Registration}) {
        window().Tabs().enter(page);
        ::SendMessageW(window().GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    }
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownMessage& shown : messages.shown) {
        EXPECT_EQ(shown.title, L"提示");
        EXPECT_EQ(shown.text, L"正在更新请稍后尝试");
        EXPECT_EQ(shown.style, 0u);
    }
    window().Tabs().enter(LogonPage::WebLogon);
    ::SendMessageW(window().GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(messages.shown.size(), 2u) << "a web page takes Enter itself";
}

// The logon pages' scripts are refused like the form while the update runs: no lobby client
// starts from an installation that is half updated.
TEST_F(LauncherWindow, WebLogonsAreRefusedWhileTheUpdateRuns) {
    createWindow();
    const std::wstring page = std::wstring(kWebBaseUrl) + L"//qlogin.aspx";
    window().OnQQLogon(page, L"openid", L"token");
    window().OnAccountLogon(page, L"user", L"pass");
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownMessage& shown : messages.shown) {
        EXPECT_EQ(shown.text, L"正在更新请稍后尝试");
    }
}

// Only the platform's own pages may log the player on: a page the advertisement frame was led
// to, or any other address, is ignored (before the update has finished as after).
TEST_F(LauncherWindow, WebLogonsFromOtherPagesAreIgnored) {
    createWindow();
    window().Update().setLogonAllowed(true);
    const std::wstring base = kWebBaseUrl;
    for (const std::wstring& page : {std::wstring(L"http://ads.example.com/promo.html"), base + L".other.net/qlogin",
                                     std::wstring(L""), std::wstring(L"about:blank")}) {
        window().OnQQLogon(page, L"openid", L"token");
        window().OnAccountLogon(page, L"user", L"pass");
    }
    EXPECT_TRUE(messages.shown.empty()) << "nothing started, nothing said";
    EXPECT_NE(window().GetHWND(), nullptr);
}

// The update worker's prompts are asked on the window's thread, which owns every window;
// the worker waits for the answer.
TEST_F(LauncherWindow, PromptsOfTheWorkerAreAskedOnTheWindowsThread) {
    createWindow();
    messages.answers = {6};
    const DWORD windowThread = ::GetCurrentThreadId();
    DWORD shownOn = 0;
    messages.onShow = [&] { shownOn = ::GetCurrentThreadId(); };
    MessageAnswer answer = MessageAnswer::CloseButton;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        answer = window().Update().messages().show(L"错误提示", L"下载文件错误", MessageButtons::YesNo);
        done = true;
    });
    while (!done) {
        pump();
        ::Sleep(1);
    }
    worker.join();
    EXPECT_EQ(answer, MessageAnswer::FirstButton);
    EXPECT_EQ(shownOn, windowThread);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].style, 4u);
}

// Once the window is gone, the worker's updates are dropped instead of being run on the
// worker's own thread, and its prompts are answered with the close button.
TEST_F(LauncherWindow, AfterTheWindowIsGoneTheWorkerReachesNothing) {
    createWindow();
    UpdateView& view = window().Update();
    ::DestroyWindow(window().GetHWND());
    pump();
    MessageAnswer answer = MessageAnswer::FirstButton;
    std::thread worker([&] {
        view.showUpdateState(L"late");  // would touch destroyed controls if it ran here
        view.finishUpdate(true);
        answer = view.messages().show(L"错误提示", L"下载文件错误", MessageButtons::YesNo);
    });
    worker.join();
    pump();
    EXPECT_EQ(answer, MessageAnswer::CloseButton);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(view.logonAllowed()) << "the run's end is still recorded";
}

TEST_F(LauncherWindow, EnterChecksTheLogonFormOnceTheUpdateHasFinished) {
    createWindow();
    window().Update().setLogonAllowed(true);
    ::SendMessageW(window().GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"账号输入错误");
}

LRESULT hitTestAt(HWND hwnd, POINT client) {
    ::ClientToScreen(hwnd, &client);
    return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
}

TEST_F(LauncherWindow, CaptionBandDragsExceptOnControls) {
    createWindow();
    const HWND hwnd = window().GetHWND();
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
    const HWND hwnd = window().GetHWND();
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
    EXPECT_EQ(passwordStrength(L"abcde"), 0);
    EXPECT_EQ(passwordStrength(L"abcDE1"), 3);
    RegistrationForm& form = window().Registration();
    for (int i = 0; i < 50; ++i) {
        form.newVerifyCode();
        ASSERT_EQ(form.verifyCode().size(), 4u);
        EXPECT_EQ(form.verifyCode().find_first_not_of(L"0123456789"), std::wstring::npos);
        EXPECT_EQ(text(L"Text_Number"), form.verifyCode());
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
