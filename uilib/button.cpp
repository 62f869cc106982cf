#include "uilib/button.h"

#include "uilib/paint_manager.h"
#include "uilib/render.h"

CButtonUI::CButtonUI() {
    textFormat_ = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}

void CButtonUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"normalimage") {
        normalImage_ = value;
    } else if (name == L"hotimage") {
        hotImage_ = value;
    } else if (name == L"pushedimage") {
        pushedImage_ = value;
    } else if (name == L"focusedimage") {
        focusedImage_ = value;
    } else if (name == L"disabledimage") {
        disabledImage_ = value;
    } else if (name == L"hotbkcolor") {
        hotBkColor_ = parseColor(value).value_or(0);
    } else if (name == L"pushedbkcolor") {
        pushedBkColor_ = parseColor(value).value_or(0);
    } else if (name == L"hottextcolor") {
        hotTextColor_ = parseColor(value).value_or(0);
    } else if (name == L"pushedtextcolor") {
        pushedTextColor_ = parseColor(value).value_or(0);
    } else {
        CLabelUI::SetAttribute(name, value);
    }
    Invalidate();
}

void CButtonUI::DoEvent(UiEvent& event) {
    switch (event.type) {
        case UiEventType::ButtonDown:
        case UiEventType::DoubleClick:
            pushed_ = true;
            Invalidate();
            break;
        case UiEventType::MouseMove:
            // While the button is held, it looks pressed only with the mouse over it.
            if (pushed_ != (::PtInRect(&pos_, event.point) != FALSE)) {
                pushed_ = !pushed_;
                Invalidate();
            }
            break;
        case UiEventType::ButtonUp: {
            const bool inside = ::PtInRect(&pos_, event.point) != FALSE;
            pushed_ = false;
            Invalidate();
            if (inside) {
                Activate();
            }
            break;
        }
        case UiEventType::KeyDown:
            if (event.wParam == VK_SPACE || event.wParam == VK_RETURN) {
                Activate();
            }
            break;
        default:
            CLabelUI::DoEvent(event);
            break;
    }
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) {
        return false;
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, UiNotifyType::Click);
    }
    return true;
}

const std::wstring& CButtonUI::StateImage() const {
    if (!IsEnabled() && !disabledImage_.empty()) {
        return disabledImage_;
    }
    if (IsEnabled() && pushed_ && !pushedImage_.empty()) {
        return pushedImage_;
    }
    if (IsEnabled() && (hot_ || pushed_) && !hotImage_.empty()) {
        return hotImage_;
    }
    if (focused_ && !focusedImage_.empty()) {
        return focusedImage_;
    }
    return normalImage_;
}

std::uint32_t CButtonUI::StateColor() const {
    if (IsEnabled() && pushed_ && pushedBkColor_ != 0) {
        return pushedBkColor_;
    }
    if (IsEnabled() && (hot_ || pushed_) && hotBkColor_ != 0) {
        return hotBkColor_;
    }
    return 0;
}

void CButtonUI::PaintStatusImage(HDC dc) {
    const std::uint32_t color = StateColor();
    if (color != 0) {
        fillColor(dc, pos_, color);
    }
    const std::wstring& image = StateImage();
    if (!image.empty()) {
        DrawImage(dc, image);
    }
}

void CButtonUI::PaintText(HDC dc) {
    std::uint32_t color = IsEnabled() ? textColor_ : disabledTextColor_;
    if (IsEnabled() && pushed_ && pushedTextColor_ != 0) {
        color = pushedTextColor_;
    } else if (IsEnabled() && (hot_ || pushed_) && hotTextColor_ != 0) {
        color = hotTextColor_;
    }
    DrawTextIn(dc, TextRect(), GetText(), color, textFormat_);
}
