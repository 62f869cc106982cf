#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/application.h"
#include "framework/command_line.h"
#include "framework/frame_window.h"
#include "framework/named_mutex.h"
#include "framework/single_instance.h"
#include "framework/worker_thread.h"

namespace {

TEST(CommandLine, FirstPlainParameter) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"LobbexLauncher.exe", L""},
        {L"LobbexLauncher.exe a|b", L"a|b"},
        {L"LobbexLauncher.exe /silent -x file.txt other", L"file.txt"},
        {L"\"C:\\Program Files\\Lobbex\\LobbexLauncher.exe\" \"x y|z\"", L"x y|z"},
        {L"LobbexLauncher.exe /only -switches", L""},
        {L"", L""},
    };
    for (const auto& [line, parameter] : cases) {
        EXPECT_EQ(firstPlainParameter(line), parameter);
    }
}

// A second start in the moment before the first one's window exists: the mutex, owned for the
// first one's whole life, turns it away (starts on other threads stand in for other processes).
TEST(SingleInstance, OwnsTheMutexForItsWholeLife) {
    const wchar_t* name = L"LobbexTestSingleInstance";
    const wchar_t* windowClass = L"LobbexTestNoSuchWindowClass";
    auto claimElsewhere = [&] {
        bool claimed = true;
        std::thread([&] {
            SingleInstance second;
            claimed = second.claim(name, windowClass);
        }).join();
        return claimed;
    };
    {
        SingleInstance first;
        ASSERT_TRUE(first.claim(name, windowClass));
        ::Sleep(50);
        EXPECT_FALSE(claimElsewhere()) << "the first one still runs, without a window yet";
    }
    EXPECT_TRUE(claimElsewhere()) << "the first one has ended";
}

// With the running one's window there, that window is brought to the front instead.
TEST(SingleInstance, RunningOnesWindowIsFoundWithoutTheMutex) {
    static const wchar_t* windowClass = L"LobbexTestSingleInstanceWindow";
    WNDCLASSW registration{};
    registration.lpfnWndProc = ::DefWindowProcW;
    registration.hInstance = ::GetModuleHandleW(nullptr);
    registration.lpszClassName = windowClass;
    ::RegisterClassW(&registration);
    HWND running = ::CreateWindowExW(0, windowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(running, nullptr);
    ::ShowWindow(running, SW_MINIMIZE);
    SingleInstance second;
    EXPECT_FALSE(second.claim(L"LobbexTestSingleInstanceFree", windowClass));
    EXPECT_FALSE(::IsIconic(running)) << "restored";
    ::DestroyWindow(running);
}

TEST(NamedMutex, OnlyOneOwnerAtATime) {
    const std::wstring name = L"LobbexTestMutex-" + std::to_wstring(::GetCurrentProcessId());
    NamedMutex first(name);
    ASSERT_TRUE(first.tryAcquire());
    bool secondOwns = true;
    std::thread([&] {
        NamedMutex second(name);
        secondOwns = second.tryAcquire();
    }).join();
    EXPECT_FALSE(secondOwns);
    first.close();  // ends this thread's ownership with the last handle
    std::thread([&] {
        NamedMutex third(name);
        secondOwns = third.tryAcquire();
    }).join();
    EXPECT_TRUE(secondOwns);
}

DWORD WINAPI signalEvent(void* event) {
    ::SetEvent(static_cast<HANDLE>(event));
    return 0;
}

TEST(WorkerThread, RunsTheRoutineWithItsParameter) {
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(startWorkerThread(signalEvent, done));
    EXPECT_EQ(::WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
    ::CloseHandle(done);
}

constexpr wchar_t kTestClass[] = L"FrameworkTestWindow";
constexpr UINT kPing = WM_APP + 7;

class RecordingWindow : public FrameWindow {
public:
    std::vector<UINT> handled;
    std::vector<UINT> pretranslated;

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        handled.push_back(message);
        return FrameWindow::OnMessage(message, wParam, lParam, result);
    }
    bool PreTranslateMessage(MSG& message) override {
        pretranslated.push_back(message.message);
        return message.message == kPing;  // consumed: never dispatched
    }
};

class TestApplication : public Application {
public:
    RecordingWindow window;
    bool InitApplication() override {
        WNDCLASSW windowClass{};
        windowClass.lpszClassName = kTestClass;
        windowClass.lpfnWndProc = ::DefWindowProcW;
        RegisterWindowClass(windowClass);
        if (!window.CreateEx(0, kTestClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr)) {
            return false;
        }
        mainWindow = &window;
        ::PostMessageW(window.GetHwnd(), kPing, 0, 0);
        ::PostMessageW(window.GetHwnd(), WM_CLOSE, 0, 0);
        return true;
    }
};

// The framework sees a window's messages from the first on, passes queued ones through the
// main window's hook, and ends its loop when the main window is destroyed.
TEST(Application, RunsTheLoopUntilTheMainWindowIsGone) {
    TestApplication application;
    EXPECT_EQ(application.Run(::GetModuleHandleW(nullptr), L"test.exe"), 0);
    const std::vector<UINT>& handled = application.window.handled;
    ASSERT_FALSE(handled.empty());
    EXPECT_NE(std::find(handled.begin(), handled.end(), static_cast<UINT>(WM_NCCREATE)), handled.end());
    EXPECT_NE(std::find(handled.begin(), handled.end(), static_cast<UINT>(WM_CREATE)), handled.end());
    EXPECT_EQ(std::find(handled.begin(), handled.end(), kPing), handled.end())
        << "a consumed message is not dispatched";
    const std::vector<UINT>& seen = application.window.pretranslated;
    EXPECT_NE(std::find(seen.begin(), seen.end(), kPing), seen.end());
    EXPECT_EQ(application.window.GetHwnd(), nullptr);
    ::UnregisterClassW(kTestClass, ::GetModuleHandleW(nullptr));
}

class RefusingApplication : public Application {
public:
    bool InitApplication() override { return false; }
    int ExitApplication() override { return 42; }
};

TEST(Application, RefusedStartUpRunsNoLoop) {
    RefusingApplication application;
    ::PostQuitMessage(5);  // a loop would end at once with 5
    EXPECT_EQ(application.Run(::GetModuleHandleW(nullptr), L""), 42);
    MSG message;
    EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message is still queued";
}

class FailingApplication : public Application {
public:
    bool InitApplication() override {
        WNDCLASSW windowClass{};  // no name: the platform refuses it
        windowClass.lpfnWndProc = ::DefWindowProcW;
        RegisterWindowClass(windowClass);
        return true;
    }
};

TEST(Application, ResourceFailureAbandonsStartUp) {
    FailingApplication application;
    EXPECT_EQ(application.Run(::GetModuleHandleW(nullptr), L""), 1);
}

TEST(FrameWindow, CentresOnTheWorkArea) {
    WNDCLASSW windowClass{};
    windowClass.lpszClassName = kTestClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    ::RegisterClassW(&windowClass);
    RecordingWindow window;
    ASSERT_TRUE(window.CreateEx(0, kTestClass, L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr));
    window.CenterWindow();
    RECT area;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT placed;
    ::GetWindowRect(window.GetHwnd(), &placed);
    EXPECT_EQ(placed.left, area.left + (area.right - area.left - 300) / 2);
    EXPECT_EQ(placed.top, area.top + (area.bottom - area.top - 200) / 2);
    ::DestroyWindow(window.GetHwnd());
    ::UnregisterClassW(kTestClass, ::GetModuleHandleW(nullptr));
}

}  // namespace
