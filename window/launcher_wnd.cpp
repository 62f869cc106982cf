// The main window: construction, its window procedure, creation and the control factory.
#include "window/launcher_wnd.h"

#include <windowsx.h>

#include <cstdlib>

#include "browser/web_browser_ex.h"
#include "framework/worker_thread.h"
#include "settings/platform_reg_key.h"
#include "msgbox/color_skin_ui.h"
#include "uilib/control.h"
#include "update/status_texts.h"
#include "update/update_engine.h"
#include "window/password_strength.h"

CLauncherWnd* theLauncherWnd = nullptr;

namespace {

DWORD WINAPI updateWorker(void* host) {
    try {
        return updateThreadProc(static_cast<UpdateHost*>(host));
    } catch (...) {
        return 0;  // nothing leaves the thread
    }
}

}  // namespace

CLauncherWnd::CLauncherWnd() : CLauncherWnd(Seams{}) {}

CLauncherWnd::CLauncherWnd(Seams seams) : seams_(std::move(seams)) {
    if (seams_.messages != nullptr) {
        messages_ = seams_.messages;
    } else {
        ownMessages_ = std::make_unique<UiMessagePresenter>([this] { return GetHwnd(); }, this);
        messages_ = ownMessages_.get();
    }
    theLauncherWnd = this;
}

CLauncherWnd::~CLauncherWnd() {
    if (theLauncherWnd == this) {
        theLauncherWnd = nullptr;
    }
}

// --- The window procedure ---

void CLauncherWnd::Subclass(HWND hwnd) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CLauncherWnd::LauncherProc)));
    subclassed = previousProc != nullptr;
}

void CLauncherWnd::Unsubclass(HWND hwnd) {
    if (!subclassed) {
        return;
    }
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    previousProc = ::DefWindowProcW;
    subclassed = false;
}

// The UI library sees every message before the framework does.
LRESULT CALLBACK CLauncherWnd::LauncherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<CLauncherWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        if (window->HandleWindowMessage(message, wParam, lParam, result)) {
            return result;
        }
    } catch (...) {
        return 0;  // nothing leaves a window procedure
    }
    return ::CallWindowProcW(window->previousProc, hwnd, message, wParam, lParam);
}

bool CLauncherWnd::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        if (logonPage == 0) {
            if (RefuseWhileUpdating()) {
                result = 0;
                return true;
            }
            if (CheckLogonInput()) {
                LaunchLobby(0);
            }
        } else if (logonPage == 2) {
            if (RefuseWhileUpdating()) {
                result = 0;
                return true;
            }
            if (CheckRegistration()) {
                LaunchLobby(2);
            }
        }
    }
    const bool handled = paintManager_.MessageHandler(message, wParam, lParam, result);
    if (message == WM_PAINT && !firstPaintTraced_) {
        // Start-up milestone for a debugger or a debug-output monitor (bench/startup_bench).
        firstPaintTraced_ = true;
        ::OutputDebugStringW(L"LobbexLauncher: first paint\n");
    }
    return handled;
}

bool CLauncherWnd::PreTranslateMessage(MSG& message) {
    if (CPaintManagerUI::TranslateMessage(&message) && webPageActive) {
        return true;
    }
    LRESULT result = 0;
    if (paintManager_.PreMessageHandler(message.message, message.wParam, message.lParam, result)) {
        return true;
    }
    return FrameWindow::PreTranslateMessage(message);
}

bool CLauncherWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_NCCREATE:
            Subclass(GetHwnd());
            return false;  // then default processing
        case WM_CREATE:
            result = OnCreate();
            return true;
        case WM_NCCALCSIZE:
            result = 0;  // the whole window is client area
            return true;
        case WM_NCACTIVATE:
            result = wParam == 0 ? TRUE : FALSE;
            return true;
        case WM_NCHITTEST: {
            const LRESULT code = HitTest(GetHwnd(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (code != 0) {
                result = code;
                return true;
            }
            return false;
        }
        case WM_SIZE:
            OnSizeRegion(wParam);
            return false;
        case WM_NCDESTROY:
            Unsubclass(GetHwnd());
            return false;
        default:
            if (message == kDrainUpdatesMessage) {
                DrainUpdates();
                result = 0;
                return true;
            }
            return false;
    }
}

// --- Creation ---

LRESULT CLauncherWnd::OnCreate() {
    const HWND hwnd = GetHwnd();
    if (DefaultProcessing(WM_CREATE, 0, 0) == -1) {
        return -1;
    }
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_MINIMIZEBOX);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(0x00800300));

    paintManager_.Init(hwnd);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(kMainSkin, GetResourceType(), this, &paintManager_);
    if (root == nullptr) {
        return -1;  // no skin, no window: nothing to show and nothing to click
    }
    paintManager_.AttachDialog(root);
    paintManager_.AddNotifier(this);
    // The skin gives the window its size.
    const SIZE size = paintManager_.GetInitSize();
    if (size.cx > 0 && size.cy > 0) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    ApplyColorSkinFromRegistry();
    CenterWindow();
    LoadAccounts();
    skinReady = true;
    if (CControlUI* logon = paintManager_.FindControl(L"Logon")) {
        logon->SetEnabled(false);
    }
    ApplyWindowRegion();
    const bool started =
        seams_.startUpdate ? seams_.startUpdate(this) : startWorkerThread(updateWorker, static_cast<UpdateHost*>(this));
    if (!started) {
        // Without its update run the window would refuse to log on for ever.
        const DWORD error = ::GetLastError();
        updateStartError_ = error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    SetStatusText(kStateListingFiles);
    return 0;
}

void CLauncherWnd::ApplyColorSkinFromRegistry() {
    CPlatformRegKey key;
    if (key.Open(L"Lobbex", L"Option\\Interface", false)) {
        skinType = key.QueryDword(L"InterfaceType", skinType);
        skinColor = key.QueryDword(L"InterfaceColor", skinColor);
    }
    applyColorSkin(paintManager_.FindControl(L"backlayout"), skinType, skinColor);
}

CControlUI* CLauncherWnd::CreateControl(const wchar_t* className) {
    if (className != nullptr && ::_wcsicmp(className, L"WebBrowserEx") == 0) {
        return new WebBrowserEx(this);
    }
    return nullptr;
}

// --- Small operations on the skin ---

void CLauncherWnd::SetStatusText(std::wstring_view text) {
    if (CControlUI* state = paintManager_.FindControl(L"UpdateState")) {
        state->SetText(text);
    }
}

void CLauncherWnd::SetControlText(std::wstring_view name, std::wstring_view text) {
    if (CControlUI* control = paintManager_.FindControl(name)) {
        control->SetText(text);
    }
}

void CLauncherWnd::ShowVerifyCode() {
    verifyCode.clear();
    for (int i = 0; i < 4; ++i) {
        verifyCode += std::to_wstring(std::rand() % 10);
    }
    SetControlText(L"Text_Number", verifyCode);
}

std::uint8_t CLauncherWnd::PasswordStrength(std::wstring_view text) const {
    return passwordStrength(text);
}

bool CLauncherWnd::RefuseWhileUpdating() {
    if (logonAllowed.load()) {
        return false;
    }
    (void)messages_->show(kWaitTitle, kWaitText, 0);
    return true;
}
