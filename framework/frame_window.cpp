#include "framework/frame_window.h"

#include "common/unique_handle.h"
#include "framework/application.h"

namespace {

constexpr wchar_t kObjectProperty[] = L"FrameWindow.Object";

// The window object being created on this thread, attached by the creation hook.
thread_local FrameWindow* windowBeingCreated = nullptr;

struct HookHandleTraits {
    using pointer = HHOOK;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::UnhookWindowsHookEx(value); }
};

}  // namespace

LRESULT CALLBACK frameworkCreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && windowBeingCreated != nullptr) {
        FrameWindow* window = windowBeingCreated;
        windowBeingCreated = nullptr;
        window->attach(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

FrameWindow::~FrameWindow() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
        ::RemovePropW(hwnd_, kObjectProperty);
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
    }
}

void FrameWindow::attach(HWND hwnd) {
    hwnd_ = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
    classProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameWindow::FrameworkProc)));
}

bool FrameWindow::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU menu, void* parameter) {
    UniqueHandle<HookHandleTraits> hook(
        ::SetWindowsHookExW(WH_CBT, frameworkCreationHook, nullptr, ::GetCurrentThreadId()));
    windowBeingCreated = this;
    const HWND hwnd = ::CreateWindowExW(
        exStyle, className, title, style, x, y, width, height, parent, menu,
        Application::Current() ? Application::Current()->Instance() : ::GetModuleHandleW(nullptr), parameter);
    windowBeingCreated = nullptr;
    return hwnd != nullptr;
}

FrameWindow* FrameWindow::FromHandle(HWND hwnd) {
    return static_cast<FrameWindow*>(::GetPropW(hwnd, kObjectProperty));
}

LRESULT CALLBACK FrameWindow::FrameworkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameWindow* window = FromHandle(hwnd);
    if (window == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        if (!window->OnMessage(message, wParam, lParam, result)) {
            result = window->DefaultProcessing(message, wParam, lParam);
        }
    } catch (...) {
        // Nothing may leave a window procedure.
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        window->OnNcDestroy();
    }
    return result;
}

LRESULT FrameWindow::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    return classProc_ != nullptr ? ::CallWindowProcW(classProc_, hwnd_, message, wParam, lParam)
                                 : ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FrameWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool FrameWindow::PreTranslateMessage(MSG&) {
    return false;
}

void FrameWindow::OnNcDestroy() {
    const HWND hwnd = hwnd_;
    ::RemovePropW(hwnd, kObjectProperty);
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
    hwnd_ = nullptr;
    Application* application = Application::Current();
    if (application != nullptr && application->mainWindow == this) {
        ::PostQuitMessage(0);
    }
}

void FrameWindow::CenterWindow(HWND reference) {
    if (reference == nullptr) {
        reference = ::GetWindow(hwnd_, GW_OWNER);
    }
    RECT area;
    if (reference != nullptr) {
        ::GetWindowRect(reference, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    RECT own;
    ::GetWindowRect(hwnd_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
