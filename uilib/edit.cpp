#include "uilib/edit.h"

#include <algorithm>

#include "uilib/paint_manager.h"
#include "uilib/render.h"

CEditUI::CEditUI() {
    textPadding_ = UiRect{4, 3, 4, 3};
}

CEditUI::~CEditUI() {
    if (native_ != nullptr) {
        ::SetWindowLongPtrW(native_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeDefault_));
        ::SetWindowLongPtrW(native_, GWLP_USERDATA, 0);
        ::DestroyWindow(native_);
    }
}

std::wstring CEditUI::GetText() const {
    if (native_ == nullptr) {
        return text_;
    }
    const int length = ::GetWindowTextLengthW(native_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(native_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

void CEditUI::SetText(std::wstring_view text) {
    text_ = text;
    if (maxChar_ > 0 && text_.size() > static_cast<std::size_t>(maxChar_)) {
        text_.resize(static_cast<std::size_t>(maxChar_));
    }
    if (native_ != nullptr) {
        settingText_ = true;
        ::SetWindowTextW(native_, text_.c_str());
        settingText_ = false;
    }
    Invalidate();
}

void CEditUI::SetPasswordMode(bool password) {
    password_ = password;
    if (native_ != nullptr) {
        ::SendMessageW(native_, EM_SETPASSWORDCHAR, password ? passwordChar_ : 0, 0);
        ::InvalidateRect(native_, nullptr, TRUE);
    }
}

void CEditUI::SetMaxChar(int maxChar) {
    maxChar_ = maxChar;
    if (native_ != nullptr) {
        ::SendMessageW(native_, EM_LIMITTEXT, static_cast<WPARAM>(maxChar > 0 ? maxChar : 0), 0);
    }
}

void CEditUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"password") {
        SetPasswordMode(parseBool(value).value_or(false));
    } else if (name == L"maxchar") {
        SetMaxChar(parseInt(value).value_or(255));
    } else if (name == L"readonly") {
        readOnly_ = parseBool(value).value_or(false);
    } else if (name == L"nativebkcolor") {
        nativeBkColor_ = parseColor(value).value_or(0xFFFFFFFF);
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CEditUI::OnWindowAttached() {
    // A hidden box (on a page of a tab layout not shown) gets its native window when it shows:
    // each one costs the window's start time, and no one types into what is not shown.
    if (native_ == nullptr && IsVisible() && manager_ != nullptr && manager_->GetPaintWindow() != nullptr) {
        CreateNative();
    }
}

void CEditUI::OnWindowDetached() {
    // The native box goes with the window; its text stays with the control.
    if (native_ != nullptr) {
        text_ = GetText();
        ::SetWindowLongPtrW(native_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeDefault_));
        ::SetWindowLongPtrW(native_, GWLP_USERDATA, 0);
        native_ = nullptr;
    }
}

void CEditUI::CreateNative() {
    DWORD style = WS_CHILD | ES_AUTOHSCROLL | ES_LEFT;
    if (password_) {
        style |= ES_PASSWORD;
    }
    if (readOnly_) {
        style |= ES_READONLY;
    }
    native_ = ::CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 0, 0, manager_->GetPaintWindow(), nullptr,
                                CPaintManagerUI::GetInstance(), nullptr);
    if (native_ == nullptr) {
        return;
    }
    ::SetWindowLongPtrW(native_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    nativeDefault_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(native_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CEditUI::NativeProc)));
    ::SendMessageW(native_, WM_SETFONT, reinterpret_cast<WPARAM>(manager_->GetFont(font_)), FALSE);
    ::SendMessageW(native_, EM_LIMITTEXT, static_cast<WPARAM>(maxChar_ > 0 ? maxChar_ : 0), 0);
    if (password_) {
        ::SendMessageW(native_, EM_SETPASSWORDCHAR, passwordChar_, 0);
    }
    settingText_ = true;
    ::SetWindowTextW(native_, text_.c_str());
    settingText_ = false;
    SyncNative();
}

void CEditUI::SyncNative() {
    if (native_ == nullptr) {
        OnWindowAttached();  // shown for the first time: the box is made now (and placed)
        return;
    }
    const RECT r = TextRect();
    // The edit box takes the height of one line of its font, centred in the text area.
    int lineHeight = r.bottom - r.top;
    {
        WindowDc dc(native_);
        SelectObjectGuard font(dc.get(), manager_->GetFont(font_));
        TEXTMETRICW metrics{};
        if (dc.get() != nullptr && ::GetTextMetricsW(dc.get(), &metrics)) {
            lineHeight = std::min<int>(lineHeight, metrics.tmHeight + 2);
        }
    }
    const int top = r.top + ((r.bottom - r.top) - lineHeight) / 2;
    ::SetWindowPos(native_, nullptr, r.left, top, r.right - r.left, lineHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    ::EnableWindow(native_, IsEnabled());
    const bool show = IsVisible() && r.right > r.left && r.bottom > r.top;
    ::ShowWindow(native_, show ? SW_SHOWNA : SW_HIDE);
}

void CEditUI::SetPos(const RECT& pos) {
    CLabelUI::SetPos(pos);
    SyncNative();
}

void CEditUI::SetVisible(bool visible) {
    CLabelUI::SetVisible(visible);
    SyncNative();
}

void CEditUI::SetInternVisible(bool visible) {
    CLabelUI::SetInternVisible(visible);
    SyncNative();
}

void CEditUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    SyncNative();
}

void CEditUI::DoEvent(UiEvent& event) {
    if (event.type == UiEventType::SetFocus && native_ != nullptr && ::GetFocus() != native_) {
        ::SetFocus(native_);
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::OnNativeCommand(WORD code) {
    if (manager_ == nullptr) {
        return;
    }
    switch (code) {
        case EN_CHANGE:
            text_ = GetText();
            if (!settingText_) {
                manager_->SendNotify(this, UiNotifyType::TextChanged);
            }
            break;
        case EN_SETFOCUS:
            manager_->SetFocus(this);
            break;
        case EN_KILLFOCUS:
            if (manager_->GetFocus() == this) {
                manager_->SetFocus(nullptr);
            }
            break;
        default:
            break;
    }
}

HBRUSH CEditUI::NativeBackground(HDC dc) {
    const std::uint32_t color = (bkColor_ >> 24) == 255 ? bkColor_ : nativeBkColor_;
    if (!nativeBrush_ || nativeBrushColor_ != color) {
        nativeBrush_.reset(::CreateSolidBrush(toColorRef(color)));
        nativeBrushColor_ = color;
    }
    ::SetTextColor(dc, toColorRef(IsEnabled() ? textColor_ : disabledTextColor_));
    ::SetBkColor(dc, toColorRef(color));
    return static_cast<HBRUSH>(nativeBrush_.get());
}

void CEditUI::PaintText(HDC dc) {
    // With a native edit box, it draws the text itself.
    if (native_ != nullptr) {
        return;
    }
    const std::wstring shown = password_ ? std::wstring(text_.size(), passwordChar_) : text_;
    DrawTextIn(dc, TextRect(), shown, IsEnabled() ? textColor_ : disabledTextColor_, textFormat_);
}

LRESULT CALLBACK CEditUI::NativeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CEditUI*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    const WNDPROC next = self->nativeDefault_;
    // Enter and Tab belong to the window: its logon and registration forms act on Enter, and the
    // paint manager moves the focus on Tab.
    if ((message == WM_KEYDOWN || message == WM_CHAR) && (wParam == VK_RETURN || wParam == VK_TAB)) {
        if (message == WM_KEYDOWN) {
            const bool back = wParam == VK_TAB && (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
            HWND parent = ::GetParent(window);
            if (wParam == VK_TAB && self->manager_ != nullptr) {
                self->manager_->MoveFocus(!back);
            } else {
                ::SendMessageW(parent, message, wParam, lParam);
            }
        }
        return 0;
    }
    return ::CallWindowProcW(next, window, message, wParam, lParam);
}
