#include "uilib/paint_manager.h"

#include <algorithm>
#include <mutex>

#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/web_browser.h"

namespace {

// Posted to the window after its first frame; a registered message, so that it meets none of the
// window's own.
UINT windowPaintedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"LobbexUiWindowPainted");
    return message;
}

std::mutex& settingsLock() {
    static std::mutex lock;
    return lock;
}
HINSTANCE& instanceSetting() {
    static HINSTANCE instance = nullptr;
    return instance;
}
std::wstring& resourcePathSetting() {
    static std::wstring path;
    return path;
}

RECT toRect(const UiRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

POINT pointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI() {
    // Controls ask the manager to forget them while they are deleted.
    std::unique_ptr<CControlUI> root = std::move(root_);
    root.reset();
}

void CPaintManagerUI::SetInstance(HINSTANCE instance) {
    std::lock_guard<std::mutex> guard(settingsLock());
    instanceSetting() = instance;
}

HINSTANCE CPaintManagerUI::GetInstance() {
    std::lock_guard<std::mutex> guard(settingsLock());
    return instanceSetting() != nullptr ? instanceSetting() : ::GetModuleHandleW(nullptr);
}

std::wstring CPaintManagerUI::GetInstancePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = ::GetModuleFileNameW(GetInstance(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

void CPaintManagerUI::SetResourcePath(std::wstring_view path) {
    std::wstring folder(path);
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder.push_back(L'\\');
    }
    std::lock_guard<std::mutex> guard(settingsLock());
    resourcePathSetting() = folder;
}

std::wstring CPaintManagerUI::GetResourcePath() {
    {
        std::lock_guard<std::mutex> guard(settingsLock());
        if (!resourcePathSetting().empty()) {
            return resourcePathSetting();
        }
    }
    return GetInstancePath();
}

bool CPaintManagerUI::TranslateMessage(const MSG* message) {
    if (message == nullptr || message->message < WM_KEYFIRST || message->message > WM_KEYLAST) {
        return false;
    }
    return translateBrowserAccelerator(*message);
}

void CPaintManagerUI::Init(HWND window) {
    window_ = window;
    if (root_) {
        root_->OnWindowAttached();
    }
    NeedUpdate();
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (root == nullptr) {
        return false;
    }
    hot_ = pushed_ = focus_ = nullptr;
    root_.reset(root);
    root_->SetManager(this, nullptr);
    if (window_ != nullptr) {
        root_->OnWindowAttached();
    }
    needLayout_ = true;
    UpdateLayout();
    return true;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier == nullptr || std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) {
        return false;
    }
    notifiers_.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    const auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
    if (it == notifiers_.end()) {
        return false;
    }
    notifiers_.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(CControlUI* sender, UiNotifyType type, WPARAM wParam, LPARAM lParam) {
    UiNotification notification;
    notification.type = type;
    notification.sender = sender;
    notification.wParam = wParam;
    notification.lParam = lParam;
    if (window_ != nullptr) {
        ::GetCursorPos(&notification.point);
        ::ScreenToClient(window_, &notification.point);
    }
    // A notifier may register or remove notifiers while it is called.
    const std::vector<INotifyUI*> notifiers = notifiers_;
    for (INotifyUI* notifier : notifiers) {
        notifier->Notify(notification);
    }
}

CControlUI* CPaintManagerUI::FindControl(std::wstring_view name) {
    if (!root_ || name.empty()) {
        return nullptr;
    }
    return root_->FindControl([name](CControlUI* c) { return c->GetName() == name; }, false);
}

CControlUI* CPaintManagerUI::FindControl(POINT point) {
    if (!root_) {
        return nullptr;
    }
    UpdateLayout();
    return root_->FindControl(
        [point](CControlUI* c) {
            if (!c->IsVisible() || !::PtInRect(&c->GetPos(), point)) {
                return false;
            }
            // A control is only hit inside every one of its containers.
            for (CControlUI* p = c->GetParent(); p != nullptr; p = p->GetParent()) {
                if (!::PtInRect(&p->GetPos(), point)) {
                    return false;
                }
            }
            return true;
        },
        true);
}

std::vector<CControlUI*> CPaintManagerUI::GetGroup(std::wstring_view group) {
    std::vector<CControlUI*> options;
    if (root_ && !group.empty()) {
        root_->FindControl(
            [&](CControlUI* c) {
                if (c->GetGroupName() == group) {
                    options.push_back(c);
                }
                return false;
            },
            true);
    }
    return options;
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    initSize_ = SIZE{cx, cy};
    NeedUpdate();
}

void CPaintManagerUI::SetWindowAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"size") {
        if (const auto size = parseSize(value)) {
            SetInitSize(size->cx, size->cy);
        }
    } else if (name == L"roundcorner") {
        if (const auto size = parseSize(value)) {
            roundCorner_ = SIZE{size->cx, size->cy};
        }
    } else if (name == L"caption") {
        if (const auto rect = parseRect(value)) {
            caption_ = toRect(*rect);
        }
    } else if (name == L"sizebox") {
        if (const auto rect = parseRect(value)) {
            sizeBox_ = toRect(*rect);
        }
    }
}

const UiImage* CPaintManagerUI::GetImage(std::wstring_view file) {
    return images_.Get(joinResourcePath(GetResourcePath(), file));
}

void CPaintManagerUI::PrefetchImage(std::wstring_view description, ImageNeed need) {
    if (const std::optional<ImageDescription> image = parseImageDescription(description)) {
        images_.Prefetch(joinResourcePath(GetResourcePath(), image->file), need == ImageNeed::FirstFrame);
    }
}

void CPaintManagerUI::NeedUpdate() {
    needLayout_ = true;
    if (window_ != nullptr) {
        ::InvalidateRect(window_, nullptr, FALSE);
    }
}

void CPaintManagerUI::Invalidate(const RECT& rect) {
    if (window_ == nullptr || rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    if (layingOut_) {
        ::UnionRect(&movedArea_, &movedArea_, &rect);
    } else {
        ::InvalidateRect(window_, &rect, FALSE);
    }
}

void CPaintManagerUI::UpdateLayout() {
    if (!needLayout_ || !root_) {
        return;
    }
    needLayout_ = false;
    RECT area{0, 0, initSize_.cx, initSize_.cy};
    if (window_ != nullptr) {
        ::GetClientRect(window_, &area);
    }
    // Every control that moves invalidates where it was and where it goes: one rectangle
    // around them all is asked for once, not two calls into the system for each control.
    layingOut_ = true;
    root_->SetPos(area);
    layingOut_ = false;
    if (window_ != nullptr && !::IsRectEmpty(&movedArea_)) {
        ::InvalidateRect(window_, &movedArea_, FALSE);
    }
    movedArea_ = RECT{};
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control != nullptr && (!control->IsVisible() || !control->IsEnabled())) {
        return;
    }
    if (control == focus_) {
        return;
    }
    CControlUI* previous = focus_;
    focus_ = control;
    if (previous != nullptr) {
        UiEvent event{UiEventType::KillFocus};
        previous->DoEvent(event);
        SendNotify(previous, UiNotifyType::KillFocus);
    }
    const bool native = control != nullptr && control->GetNativeWindow() != nullptr;
    if (!native && window_ != nullptr && ::GetFocus() != window_ && ::IsWindowVisible(window_)) {
        ::SetFocus(window_);
    }
    if (control != nullptr && focus_ == control) {
        UiEvent event{UiEventType::SetFocus};
        control->DoEvent(event);
        SendNotify(control, UiNotifyType::SetFocus);
    }
}

void CPaintManagerUI::MoveFocus(bool forward) {
    if (!root_) {
        return;
    }
    std::vector<CControlUI*> order;
    root_->FindControl(
        [&order](CControlUI* c) {
            if (c->IsFocusable() && c->IsVisible() && c->IsEnabled()) {
                order.push_back(c);
            }
            return false;
        },
        true);
    if (order.empty()) {
        return;
    }
    const auto it = std::find(order.begin(), order.end(), focus_);
    std::size_t next = 0;
    if (it != order.end()) {
        const std::size_t at = static_cast<std::size_t>(it - order.begin());
        next = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
    } else if (!forward) {
        next = order.size() - 1;
    }
    SetFocus(order[next]);
}

void CPaintManagerUI::ReleaseControl(CControlUI* control) {
    if (hot_ == control) {
        hot_ = nullptr;
    }
    if (pushed_ == control) {
        pushed_ = nullptr;
        if (window_ != nullptr && ::GetCapture() == window_) {
            ::ReleaseCapture();
        }
    }
    if (focus_ == control) {
        focus_ = nullptr;
    }
}

CControlUI* CPaintManagerUI::FindNative(HWND child) {
    if (!root_ || child == nullptr) {
        return nullptr;
    }
    return root_->FindControl([child](CControlUI* c) { return c->GetNativeWindow() == child; }, false);
}

void CPaintManagerUI::SetHot(CControlUI* control, POINT point) {
    if (control == hot_) {
        return;
    }
    if (hot_ != nullptr) {
        UiEvent leave{UiEventType::MouseLeave, point};
        CControlUI* previous = hot_;
        hot_ = nullptr;
        previous->DoEvent(leave);
    }
    hot_ = control;
    if (control != nullptr) {
        UiEvent enter{UiEventType::MouseEnter, point};
        control->DoEvent(enter);
    }
}

void CPaintManagerUI::OnMouseMove(POINT point) {
    if (window_ != nullptr && !trackingMouse_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        trackingMouse_ = ::TrackMouseEvent(&track) != FALSE;
    }
    if (pushed_ != nullptr) {
        UiEvent move{UiEventType::MouseMove, point};
        pushed_->DoEvent(move);
        return;
    }
    CControlUI* control = FindControl(point);
    SetHot(control != nullptr && control->IsEnabled() ? control : nullptr, point);
}

void CPaintManagerUI::OnButtonDown(POINT point, bool doubleClick) {
    CControlUI* control = FindControl(point);
    if (control == nullptr || !control->IsEnabled()) {
        SetFocus(nullptr);
        return;
    }
    SetHot(control, point);
    SetFocus(control->IsFocusable() ? control : nullptr);
    pushed_ = control;
    if (window_ != nullptr) {
        ::SetCapture(window_);
    }
    UiEvent down{doubleClick ? UiEventType::DoubleClick : UiEventType::ButtonDown, point};
    control->DoEvent(down);
}

void CPaintManagerUI::OnButtonUp(POINT point) {
    CControlUI* control = pushed_;
    pushed_ = nullptr;
    if (window_ != nullptr && ::GetCapture() == window_) {
        ::ReleaseCapture();
    }
    if (control != nullptr) {
        UiEvent up{UiEventType::ButtonUp, point};
        control->DoEvent(up);
    }
}

void CPaintManagerUI::Paint() {
    PAINTSTRUCT ps;
    HDC screen = ::BeginPaint(window_, &ps);
    if (screen == nullptr) {
        return;
    }
    UpdateLayout();
    RECT client;
    ::GetClientRect(window_, &client);
    if (!backBuffer_ || backSize_.cx != client.right || backSize_.cy != client.bottom) {
        void* bits = nullptr;
        backBuffer_ = createPixelBitmap(std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1), bits);
        backSize_ = SIZE{client.right, client.bottom};
    }
    UniqueMemoryDc memory(::CreateCompatibleDC(screen));
    if (backBuffer_ && memory) {
        SelectObjectGuard selected(memory.get(), backBuffer_.get());
        const RECT& dirty = ps.rcPaint;
        ::IntersectClipRect(memory.get(), dirty.left, dirty.top, dirty.right, dirty.bottom);
        ::FillRect(memory.get(), &dirty, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        if (root_ && root_->IsVisible()) {
            root_->DoPaint(memory.get(), dirty);
        }
        // Native child windows (edit boxes, the browser) draw themselves.
        for (HWND child = ::GetWindow(window_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::IsWindowVisible(child)) {
                RECT r;
                ::GetWindowRect(child, &r);
                ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
                ::ExcludeClipRect(screen, r.left, r.top, r.right, r.bottom);
            }
        }
        ::BitBlt(screen, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, memory.get(),
                 dirty.left, dirty.top, SRCCOPY);
    }
    ::EndPaint(window_, &ps);
}

bool CPaintManagerUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == windowPaintedMessage() && message != 0) {
        if (!painted_) {
            painted_ = true;
            images_.StartLaterImages();
            if (root_) {
                root_->OnWindowPainted();
            }
        }
        result = 0;
        return true;
    }
    switch (message) {
        case WM_PAINT:
            if (window_ == nullptr) {
                return false;
            }
            Paint();
            if (!paintPosted_) {
                // The controls hear of the first frame once it has reached the screen, after
                // the messages that came before it.
                paintPosted_ = ::PostMessageW(window_, windowPaintedMessage(), 0, 0) != FALSE;
            }
            result = 0;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_SIZE:
            NeedUpdate();
            return false;
        case WM_MOUSEMOVE:
            OnMouseMove(pointOf(lParam));
            return false;
        case WM_MOUSELEAVE:
            trackingMouse_ = false;
            if (pushed_ == nullptr) {
                SetHot(nullptr, POINT{-1, -1});
            }
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(pointOf(lParam), message == WM_LBUTTONDBLCLK);
            return false;
        case WM_LBUTTONUP:
            OnButtonUp(pointOf(lParam));
            return false;
        case WM_CAPTURECHANGED:
            if (pushed_ != nullptr && reinterpret_cast<HWND>(lParam) != window_) {
                // Another window took the mouse: the press is abandoned without a click.
                UiEvent up{UiEventType::ButtonUp, POINT{-100000, -100000}};
                CControlUI* control = pushed_;
                pushed_ = nullptr;
                control->DoEvent(up);
            }
            return false;
        case WM_KEYDOWN:
            if (wParam == VK_TAB) {
                MoveFocus((::GetKeyState(VK_SHIFT) & 0x8000) == 0);
                return false;
            }
            if (focus_ != nullptr) {
                UiEvent key{UiEventType::KeyDown};
                key.wParam = wParam;
                focus_->DoEvent(key);
            }
            return false;
        case WM_COMMAND:
            if (lParam != 0) {
                if (CControlUI* control = FindNative(reinterpret_cast<HWND>(lParam))) {
                    control->OnNativeCommand(HIWORD(wParam));
                    result = 0;
                    return true;
                }
            }
            return false;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (CControlUI* native = FindNative(reinterpret_cast<HWND>(lParam))) {
                if (const HBRUSH brush = native->NativeBackground(reinterpret_cast<HDC>(wParam))) {
                    result = reinterpret_cast<LRESULT>(brush);
                    return true;
                }
            }
            return false;
        case WM_DESTROY:
            if (root_) {
                root_->OnWindowDetached();
            }
            return false;
        case WM_NCDESTROY:
            window_ = nullptr;
            hot_ = pushed_ = focus_ = nullptr;
            return false;
        default:
            return false;
    }
}

bool CPaintManagerUI::PreMessageHandler(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& result) {
    if (message == WM_KEYDOWN && wParam == VK_TAB && root_) {
        MoveFocus((::GetKeyState(VK_SHIFT) & 0x8000) == 0);
        result = 0;
        return true;
    }
    return false;
}
