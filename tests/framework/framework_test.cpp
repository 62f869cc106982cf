#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/application.h"
#include "framework/command_line.h"
#include "framework/main_window.h"
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

TEST(CommandLine, WhetherTheFirstPlainParameterHoldsACharacter) {
    const std::pair<std::wstring, bool> cases[] = {
        {L"LobbexLauncher.exe", false},
        {L"LobbexLauncher.exe a|b", true},
        {L"LobbexLauncher.exe plain /x|y", false},          // in a switch, after the parameter
        {L"LobbexLauncher.exe /x|y", false},                // in a switch only
        {L"\"C:\\a|b\\LobbexLauncher.exe\" plain", false},  // in the program's name
        {L"LobbexLauncher.exe \"x y|z\"", true},
        {L"", false},
    };
    for (const auto& [line, holds] : cases) {
        EXPECT_EQ(firstPlainParameterHolds(line, L'|'), holds) << std::string(line.begin(), line.end());
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

// A plain window of a class of its own as the application's main window.
class PlainMainWindow : public MainWindow {
public:
    std::vector<UINT> dispatched;
    std::vector<UINT> pretranslated;
    HWND hwnd = nullptr;

    HWND Handle() const override { return hwnd; }
    bool PreTranslateMessage(MSG& message) override {
        pretranslated.push_back(message.message);
        return message.message == kPing;  // consumed: never dispatched
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<PlainMainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCCREATE) {
            self = static_cast<PlainMainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        if (self != nullptr) {
            self->dispatched.push_back(message);
            if (message == WM_NCDESTROY) {
                self->hwnd = nullptr;
                Application::WindowGone(self);
            }
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

class TestApplication : public Application {
public:
    PlainMainWindow window;
    bool InitApplication() override {
        WNDCLASSW windowClass{};
        windowClass.lpszClassName = kTestClass;
        windowClass.lpfnWndProc = &PlainMainWindow::Procedure;
        RegisterWindowClass(windowClass);
        window.hwnd = ::CreateWindowExW(0, kTestClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                        Instance(), &window);
        if (window.hwnd == nullptr) {
            return false;
        }
        mainWindow = &window;
        ::PostMessageW(window.hwnd, kPing, 0, 0);
        ::PostMessageW(window.hwnd, WM_CLOSE, 0, 0);
        return true;
    }
};

// The loop passes queued messages through the main window's hook and ends when the main
// window is gone.
TEST(Application, RunsTheLoopUntilTheMainWindowIsGone) {
    TestApplication application;
    EXPECT_EQ(application.Run(::GetModuleHandleW(nullptr), L"test.exe"), 0);
    const std::vector<UINT>& dispatched = application.window.dispatched;
    EXPECT_NE(std::find(dispatched.begin(), dispatched.end(), static_cast<UINT>(WM_CLOSE)), dispatched.end());
    EXPECT_EQ(std::find(dispatched.begin(), dispatched.end(), kPing), dispatched.end())
        << "a consumed message is not dispatched";
    const std::vector<UINT>& seen = application.window.pretranslated;
    EXPECT_NE(std::find(seen.begin(), seen.end(), kPing), seen.end());
    EXPECT_EQ(application.window.hwnd, nullptr);
    EXPECT_EQ(application.mainWindow, nullptr);
    ::UnregisterClassW(kTestClass, ::GetModuleHandleW(nullptr));
}

// Another window's end does not end the loop.
TEST(Application, OnlyTheMainWindowsEndEndsTheLoop) {
    TestApplication application;
    PlainMainWindow other;
    Application::WindowGone(&other);
    Application::WindowGone(nullptr);
    MSG message;
    EXPECT_FALSE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
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

}  // namespace
