#include "uilib/combo_popup.h"

#include <algorithm>

#include "uilib/combo.h"
#include "uilib/gdi_handles.h"
#include "uilib/paint_manager.h"
#include "uilib/render.h"

namespace {

constexpr wchar_t kClassName[] = L"LobbexUiComboPopup";
constexpr int kDefaultItemHeight = 22;
constexpr std::uint32_t kFrameColor = 0xFFB8C4D2;

int itemHeight(const CListLabelElementUI& item) {
    return item.GetFixedHeight() > 0 ? item.GetFixedHeight() : kDefaultItemHeight;
}

}  // namespace

CComboPopup* CComboPopup::Open(CComboUI& combo) {
    CPaintManagerUI* manager = combo.GetManager();
    HWND host = manager != nullptr ? manager->GetPaintWindow() : nullptr;
    if (host == nullptr) {
        return nullptr;
    }
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    if (!::GetClassInfoExW(CPaintManagerUI::GetInstance(), kClassName, &cls)) {
        cls.cbSize = sizeof cls;
        cls.style = CS_DROPSHADOW;
        cls.lpfnWndProc = &CComboPopup::WindowProc;
        cls.hInstance = CPaintManagerUI::GetInstance();
        cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        cls.lpszClassName = kClassName;
        ::RegisterClassExW(&cls);
    }
    auto* popup = new CComboPopup(combo);
    POINT origin{combo.GetPos().left, combo.GetPos().bottom};
    ::ClientToScreen(host, &origin);
    const int height = std::min(combo.GetDropHeight(), popup->ContentHeight()) + 2;
    popup->window_ =
        ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, origin.x, origin.y,
                          combo.GetWidth(), std::max(height, 4), host, nullptr, CPaintManagerUI::GetInstance(), popup);
    if (popup->window_ == nullptr) {
        delete popup;
        return nullptr;
    }
    ::ShowWindow(popup->window_, SW_SHOWNOACTIVATE);
    ::SetCapture(popup->window_);
    return popup;
}

void CComboPopup::Dismiss() {
    // Destroying the window releases the capture, which asks for dismissal once more.
    if (closing_) {
        return;
    }
    closing_ = true;
    ::DestroyWindow(window_);
}

void CComboPopup::ItemsChanged() {
    hot_ = -1;
    scroll_ = 0;
    ::InvalidateRect(window_, nullptr, FALSE);
}

int CComboPopup::ContentHeight() const {
    int total = 0;
    for (int i = 0; i < combo_.GetCount(); ++i) {
        total += itemHeight(*combo_.GetItemAt(i));
    }
    return total;
}

int CComboPopup::ItemAt(POINT client) const {
    RECT rect;
    ::GetClientRect(window_, &rect);
    if (!::PtInRect(&rect, client)) {
        return -1;
    }
    int top = 1 - scroll_;
    for (int i = 0; i < combo_.GetCount(); ++i) {
        const int bottom = top + itemHeight(*combo_.GetItemAt(i));
        if (client.y >= top && client.y < bottom) {
            return i;
        }
        top = bottom;
    }
    return -1;
}

void CComboPopup::Paint() {
    PAINTSTRUCT ps;
    HDC screen = ::BeginPaint(window_, &ps);
    RECT client;
    ::GetClientRect(window_, &client);
    UniqueMemoryDc dc(::CreateCompatibleDC(screen));
    UniqueGdiObject buffer(::CreateCompatibleBitmap(screen, client.right, client.bottom));
    {
        SelectObjectGuard selected(dc.get(), buffer.get());
        fillColor(dc.get(), client, combo_.GetListBkColor());
        HFONT font = combo_.GetManager()->GetFont(-1);
        int top = 1 - scroll_;
        for (int i = 0; i < combo_.GetCount(); ++i) {
            const CListLabelElementUI& item = *combo_.GetItemAt(i);
            RECT row{1, top, client.right - 1, top + itemHeight(item)};
            if (i == hot_) {
                fillColor(dc.get(), row, combo_.GetItemHotColor());
            } else if (i == combo_.GetCurSel()) {
                fillColor(dc.get(), row, combo_.GetItemSelectedColor());
            }
            row.left += 8;
            row.right -= 8;
            drawText(dc.get(), row, item.GetText(), font, combo_.GetTextColor(),
                     DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
            top += itemHeight(item);
        }
        drawBorder(dc.get(), client, kFrameColor, 1, 0);
        ::BitBlt(screen, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    }
    ::EndPaint(window_, &ps);
}

LRESULT CALLBACK CComboPopup::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CComboPopup*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<CComboPopup*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->combo_.PopupClosed();
        delete self;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT CComboPopup::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE: {
            const int hot = ItemAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            if (hot != hot_) {
                hot_ = hot;
                ::InvalidateRect(window_, nullptr, FALSE);
            }
            return 0;
        }
        case WM_MOUSEWHEEL: {
            RECT client;
            ::GetClientRect(window_, &client);
            const int most = std::max(0, ContentHeight() + 2 - static_cast<int>(client.bottom));
            scroll_ = std::clamp(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) / 4, 0, most);
            ::InvalidateRect(window_, nullptr, FALSE);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            const int index = ItemAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            if (index < 0) {
                Dismiss();
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            const int index = ItemAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            if (index >= 0) {
                CComboUI& combo = combo_;
                Dismiss();
                combo.SelectItem(index);
            }
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                Dismiss();
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window_) {
                Dismiss();
            }
            return 0;
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}
