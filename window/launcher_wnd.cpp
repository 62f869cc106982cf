// The main window: construction, its message map and creation.
#include "window/launcher_wnd.h"

#include <windowsx.h>

#include "browser/web_browser_ex.h"
#include "common/ascii_case.h"
#include "framework/application.h"
#include "framework/worker_thread.h"
#include "msgbox/color_skin_ui.h"
#include "settings/color_skin.h"
#include "settings/color_skin_choice.h"
#include "uilib/control.h"
#include "update/status_texts.h"
#include "update/update_engine.h"

CLauncherWnd* theLauncherWnd = nullptr;

namespace {

DWORD WINAPI updateWorker(void* host) {
    try {
        return updateThreadProc(static_cast<UpdateHost*>(host));
    } catch (...) {
        return 0;  // nothing leaves the thread
    }
}

// The styles the skinned window does without: its caption, and among the extended styles the
// window and client edges and the bit of WS_BORDER's value.
constexpr LONG_PTR kCaptionStyle = WS_CAPTION;
constexpr LONG_PTR kEdgeStyles = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_BORDER;

MessagePresenter& chooseMessages(MessagePresenter* given, std::unique_ptr<UiMessagePresenter>& own,
                                 CLauncherWnd& window) {
    if (given != nullptr) {
        return *given;
    }
    own = std::make_unique<UiMessagePresenter>([&window] { return window.GetHWND(); }, &window);
    return *own;
}

}  // namespace

CLauncherWnd::CLauncherWnd() : CLauncherWnd(Seams{}) {}

CLauncherWnd::CLauncherWnd(Seams seams)
    : seams_(std::move(seams)),
      messages_(&chooseMessages(seams_.messages, ownMessages_, *this)),
      logon_(skin_, *messages_),
      registration_(skin_, *messages_),
      pages_(skin_, seams_.openLink),
      update_(
          skin_, [this] { return GetHWND(); }, *messages_),
      lobby_(*messages_) {
    theLauncherWnd = this;
}

CLauncherWnd::~CLauncherWnd() {
    update_.windowGone();
    if (theLauncherWnd == this) {
        theLauncherWnd = nullptr;
    }
}

bool CLauncherWnd::PreTranslateMessage(MSG& message) {
    if (CPaintManagerUI::TranslateMessage(&message) && tabs_.webPageActive()) {
        return true;
    }
    LRESULT result = 0;
    return paintManager_.PreMessageHandler(message.message, message.wParam, message.lParam, result);
}

bool CLauncherWnd::Create() {
    // Clipped children and siblings, the minimise box; the skin gives the size at creation.
    constexpr DWORD kStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
    return CWindowWnd::Create(nullptr, L"", kStyle, 0, 100, 100, 1000, 1000) != nullptr;
}

HICON CLauncherWnd::GetClassIcon() const {
    constexpr int kIconResource = 128;
    const HINSTANCE instance = CPaintManagerUI::GetInstance();
    if (::FindResourceW(instance, MAKEINTRESOURCEW(kIconResource), RT_GROUP_ICON) == nullptr) {
        return nullptr;
    }
    return ::LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
}

LRESULT CLauncherWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        return result;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CLauncherWnd::OnFinalMessage(HWND) {
    Application::WindowGone(this);
}

bool CLauncherWnd::OnEnter() {
    switch (tabs_.page()) {
        case LogonPage::AccountForm:
            return !LogonWithForm();
        case LogonPage::Registration:
            return !LogonWithRegistration();
        case LogonPage::WebLogon:
            break;  // the page takes Enter itself
    }
    return false;
}

bool CLauncherWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN && OnEnter()) {
        result = 0;
        return true;
    }
    // The UI library sees every message before the window's own handling.
    const bool handled = paintManager_.MessageHandler(message, wParam, lParam, result);
    if (message == WM_PAINT && !firstPaintTraced_) {
        // Start-up milestone for a debugger or a debug-output monitor (bench/startup_bench).
        firstPaintTraced_ = true;
        ::OutputDebugStringW(L"LobbexLauncher: first paint\n");
    }
    if (handled) {
        return true;
    }
    switch (message) {
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
            const LRESULT code = HitTest(GetHWND(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (code != 0) {
                result = code;
                return true;
            }
            return false;
        }
        case WM_SIZE:
            OnSizeRegion();
            return false;
        case WM_DESTROY:
            update_.windowGone();
            return false;
        case kDrainUpdatesMessage:
            update_.drainUpdates();
            result = 0;
            return true;
        case kAskOnInterfaceMessage:
            result = update_.answerAsked(lParam);
            return true;
        default:
            return false;
    }
}

LRESULT CLauncherWnd::OnCreate() {
    const HWND hwnd = GetHWND();
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~kCaptionStyle) | WS_MINIMIZEBOX);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~kEdgeStyles);

    paintManager_.Init(hwnd);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(kMainSkin, GetResourceType(), this, &paintManager_);
    if (root == nullptr) {
        return -1;  // no skin, no window: nothing to show and nothing to click
    }
    // The skin gives the window its size: the window takes it, centred, before the controls
    // are laid out, so that they are laid out once, at that size.
    const SIZE size = paintManager_.GetInitSize();
    const bool sized = size.cx > 0 && size.cy > 0;
    if (sized) {
        CenterWindowAtSize(size.cx, size.cy);
    }
    paintManager_.AttachDialog(root);
    paintManager_.AddNotifier(this);

    ApplyColorSkinFromRegistry();
    if (!sized) {
        CenterWindow();
    }
    accounts_.load();
    update_.setSkinReady(true);
    skin_.setEnabled(L"Logon", false);
    ApplyWindowRegion();
    UpdateHost* host = &update_;
    const bool started = seams_.startUpdate ? seams_.startUpdate(host) : startWorkerThread(updateWorker, host);
    if (!started) {
        // Without its update run the window would refuse to log on for ever.
        const DWORD error = ::GetLastError();
        updateStartError_ = error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    update_.setStatusText(kStateListingFiles);
    return 0;
}

void CLauncherWnd::ApplyColorSkinFromRegistry() {
    // Without a choice the window keeps its own background.
    const ColorSkinChoice choice = readColorSkinChoice({kPlainColorSkin, kNoSkinColor});
    pages_.setColorSkin(choice);
    applyColorSkin(paintManager_.FindControl(L"backlayout"), choice.type, choice.color);
}

CControlUI* CLauncherWnd::CreateControl(const wchar_t* className) {
    if (className != nullptr && equalsIgnoringAsciiCase(className, L"WebBrowserEx")) {
        return new WebBrowserEx(this);
    }
    return nullptr;
}
