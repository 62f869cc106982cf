#include "uilib/window_wnd.h"

#include <algorithm>
#include <cwchar>

#include "uilib/paint_manager.h"

CWindowWnd::~CWindowWnd() {
    // An object that goes while its window lives must not be reached through it any more.
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

bool CWindowWnd::RegisterWindowClass() {
    const HINSTANCE instance = CPaintManagerUI::GetInstance();
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    if (const wchar_t* super = GetSuperClassName()) {
        if (!::GetClassInfoExW(nullptr, super, &cls) && !::GetClassInfoExW(instance, super, &cls)) {
            return false;
        }
        superProc_ = cls.lpfnWndProc;
    } else {
        cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        cls.hIcon = GetClassIcon();
    }
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, GetWindowClassName(), &existing)) {
        return true;
    }
    cls.cbSize = sizeof cls;
    cls.style = GetClassStyle();
    cls.lpfnWndProc = &CWindowWnd::WindowProc;
    cls.hInstance = instance;
    cls.lpszClassName = GetWindowClassName();
    cls.lpszMenuName = nullptr;
    return ::RegisterClassExW(&cls) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rect, HMENU menu) {
    return Create(parent, name, style, exStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                  menu);
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HMENU menu) {
    if (window_ != nullptr || !RegisterWindowClass()) {
        return nullptr;
    }
    closeCode_ = 0;
    return ::CreateWindowExW(exStyle, GetWindowClassName(), name != nullptr ? name : L"", style, x, y, cx, cy, parent,
                             menu, CPaintManagerUI::GetInstance(), this);
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (window_ != nullptr) {
        ::ShowWindow(window_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
    }
}

UINT CWindowWnd::ShowModal() {
    if (window_ == nullptr) {
        return 0;
    }
    const HWND self = window_;
    const HWND owner = ::GetWindow(self, GW_OWNER);
    if (owner != nullptr) {
        ::EnableWindow(owner, FALSE);
    }
    ::ShowWindow(self, SW_SHOWNORMAL);
    bool ownerEnabled = owner == nullptr;
    MSG message;
    while (::IsWindow(self)) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The thread is quitting: leave the loop and let the outer loop see the request.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        // The owner comes back before the box goes, so that it is the window activated next.
        if (message.message == WM_CLOSE && message.hwnd == self && !ownerEnabled) {
            ::EnableWindow(owner, TRUE);
            ownerEnabled = true;
        }
        if (!CPaintManagerUI::TranslateMessage(&message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        // A close that the window refused leaves the owner disabled again.
        if (ownerEnabled && owner != nullptr && ::IsWindow(self) && message.message == WM_CLOSE &&
            message.hwnd == self) {
            ::EnableWindow(owner, FALSE);
            ownerEnabled = false;
        }
    }
    if (!ownerEnabled) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner != nullptr && ::GetForegroundWindow() == nullptr) {
        ::SetForegroundWindow(owner);
    }
    return closeCode_;
}

void CWindowWnd::Close(UINT code) {
    if (window_ == nullptr) {
        return;
    }
    closeCode_ = code;
    ::PostMessageW(window_, WM_CLOSE, static_cast<WPARAM>(code), 0);
}

void CWindowWnd::CenterWindow() {
    if (window_ == nullptr) {
        return;
    }
    RECT window;
    ::GetWindowRect(window_, &window);
    PlaceCentered(window.right - window.left, window.bottom - window.top, SWP_NOSIZE);
}

void CWindowWnd::CenterWindowAtSize(int width, int height) {
    if (window_ == nullptr) {
        return;
    }
    PlaceCentered(width, height, 0);
}

void CWindowWnd::PlaceCentered(int width, int height, UINT flags) {
    const HWND owner = ::GetWindow(window_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner != nullptr ? owner : window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT center = work;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &center);
    }
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    ::SetWindowPos(window_, nullptr, x, y, width, height, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (window_ == nullptr) {
        return;
    }
    RECT client;
    ::GetClientRect(window_, &client);
    if (cx >= 0) {
        client.right = cx;
    }
    if (cy >= 0) {
        client.bottom = cy;
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&client, style, (style & WS_CHILD) == 0 && ::GetMenu(window_) != nullptr, exStyle);
    ::SetWindowPos(window_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(window_, message, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(window_, message, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (superProc_ != nullptr) {
        return ::CallWindowProcW(superProc_, window_, message, wParam, lParam);
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->OnFinalMessage(window);
        return result;
    }
    // Exceptions must not cross into the system's code that called the procedure.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}
