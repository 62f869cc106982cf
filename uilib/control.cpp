#include "uilib/control.h"

#include "uilib/paint_manager.h"
#include "uilib/gdi_handles.h"
#include "uilib/render.h"

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (manager_ != nullptr) {
        manager_->ReleaseControl(this);
    }
}

void CControlUI::SetText(std::wstring_view text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    Invalidate();
}

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (!IsVisible()) {
        ForgetInput();
    }
    NeedUpdate();
}

void CControlUI::SetInternVisible(bool visible) {
    internVisible_ = visible;
    if (!visible) {
        ForgetInput();
    }
}

void CControlUI::ForgetInput() {
    // A control that hides under the mouse (its page was switched by its own click) gets no
    // "mouse leave": it must not come back looking hovered or pressed.
    hot_ = false;
    pushed_ = false;
    if (manager_ != nullptr) {
        manager_->ReleaseControl(this);
    }
}

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (!enabled) {
        ForgetInput();
    }
    Invalidate();
}

void CControlUI::SetBkImage(std::wstring_view description) {
    bkImage_ = description;
    Invalidate();
}

void CControlUI::SetBkColor(std::uint32_t color) {
    bkColor_ = color;
    Invalidate();
}

void CControlUI::SetTextColor(std::uint32_t color) {
    textColor_ = color;
    Invalidate();
}

void CControlUI::SetFixedWidth(int width) {
    fixedWidth_ = width < 0 ? 0 : width;
    NeedUpdate();
}

void CControlUI::SetFixedHeight(int height) {
    fixedHeight_ = height < 0 ? 0 : height;
    NeedUpdate();
}

void CControlUI::NeedUpdate() {
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void CControlUI::Invalidate() {
    if (manager_ != nullptr) {
        manager_->Invalidate(pos_);
    }
}

void CControlUI::SetPos(const RECT& pos) {
    const bool moved = !::EqualRect(&pos, &pos_);
    if (moved) {
        Invalidate();
    }
    pos_ = pos;
    if (moved) {
        Invalidate();
    }
}

const RECT& CControlUI::GetPos() const {
    if (manager_ != nullptr) {
        manager_->UpdateLayout();
    }
    return pos_;
}

int CControlUI::GetX() const {
    return GetPos().left;
}

int CControlUI::GetY() const {
    return GetPos().top;
}

SIZE CControlUI::EstimateSize(SIZE /*available*/) {
    return SIZE{fixedWidth_, fixedHeight_};
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    manager_ = manager;
    parent_ = parent;
}

CControlUI* CControlUI::FindControl(const std::function<bool(CControlUI*)>& match, bool /*lastMatch*/) {
    return match(this) ? this : nullptr;
}

void CControlUI::DoEvent(UiEvent& event) {
    switch (event.type) {
        case UiEventType::MouseEnter:
            hot_ = true;
            Invalidate();
            break;
        case UiEventType::MouseLeave:
            hot_ = false;
            Invalidate();
            break;
        case UiEventType::SetFocus:
            focused_ = true;
            Invalidate();
            break;
        case UiEventType::KillFocus:
            focused_ = false;
            Invalidate();
            break;
        default:
            break;
    }
}

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

bool CControlUI::AddChild(CControlUI* child) {
    delete child;
    return false;
}

void CControlUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"name") {
        SetName(value);
    } else if (name == L"text") {
        SetText(value);
    } else if (name == L"pos") {
        if (const auto rect = parseRect(value)) {
            floatPos_ = *rect;
            if (fixedWidth_ == 0) {
                fixedWidth_ = rect->right - rect->left;
            }
            if (fixedHeight_ == 0) {
                fixedHeight_ = rect->bottom - rect->top;
            }
        }
    } else if (name == L"float") {
        float_ = parseBool(value).value_or(false);
    } else if (name == L"width") {
        SetFixedWidth(parseInt(value).value_or(0));
    } else if (name == L"height") {
        SetFixedHeight(parseInt(value).value_or(0));
    } else if (name == L"padding") {
        padding_ = parseRect(value).value_or(UiRect{});
    } else if (name == L"textpadding") {
        textPadding_ = parseRect(value).value_or(UiRect{});
    } else if (name == L"bkcolor") {
        SetBkColor(parseColor(value).value_or(0));
    } else if (name == L"bkimage") {
        SetBkImage(value);
    } else if (name == L"bordercolor") {
        borderColor_ = parseColor(value).value_or(0);
    } else if (name == L"bordersize") {
        borderSize_ = parseInt(value).value_or(0);
    } else if (name == L"borderround") {
        borderRound_ = parseInt(value).value_or(0);
    } else if (name == L"textcolor") {
        SetTextColor(parseColor(value).value_or(0xFF000000));
    } else if (name == L"disabledtextcolor") {
        disabledTextColor_ = parseColor(value).value_or(0xFFA0A0A0);
    } else if (name == L"font") {
        font_ = parseInt(value).value_or(-1);
    } else if (name == L"align") {
        textFormat_ &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
        textFormat_ |= value == L"center" ? DT_CENTER : value == L"right" ? DT_RIGHT : DT_LEFT;
    } else if (name == L"valign") {
        textFormat_ &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
        textFormat_ |= value == L"top" ? DT_TOP : value == L"bottom" ? DT_BOTTOM : DT_VCENTER;
    } else if (name == L"multiline") {
        if (parseBool(value).value_or(false)) {
            textFormat_ = (textFormat_ & ~DT_SINGLELINE) | DT_WORDBREAK | DT_EDITCONTROL;
        } else {
            textFormat_ = (textFormat_ & ~(DT_WORDBREAK | DT_EDITCONTROL)) | DT_SINGLELINE;
        }
    } else if (name == L"endellipsis") {
        if (parseBool(value).value_or(false)) {
            textFormat_ |= DT_END_ELLIPSIS;
        } else {
            textFormat_ &= ~DT_END_ELLIPSIS;
        }
    } else if (name == L"visible") {
        SetVisible(parseBool(value).value_or(true));
    } else if (name == L"enabled") {
        SetEnabled(parseBool(value).value_or(true));
    }
}

void CControlUI::DoPaint(HDC dc, const RECT& paint) {
    RECT clip;
    if (!::IntersectRect(&clip, &paint, &pos_)) {
        return;
    }
    PaintBkColor(dc);
    PaintBkImage(dc);
    PaintStatusImage(dc);
    PaintText(dc);
    PaintBorder(dc);
}

void CControlUI::PaintBkColor(HDC dc) {
    if (borderRound_ > 0 && (bkColor_ >> 24) == 255) {
        UniqueGdiObject brush(::CreateSolidBrush(toColorRef(bkColor_)));
        UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, toColorRef(bkColor_)));
        SelectObjectGuard selectedBrush(dc, brush.get());
        SelectObjectGuard selectedPen(dc, pen.get());
        ::RoundRect(dc, pos_.left, pos_.top, pos_.right, pos_.bottom, borderRound_, borderRound_);
        return;
    }
    fillColor(dc, pos_, bkColor_);
}

void CControlUI::PaintBkImage(HDC dc) {
    if (!bkImage_.empty()) {
        DrawImage(dc, bkImage_);
    }
}

void CControlUI::PaintBorder(HDC dc) {
    drawBorder(dc, pos_, borderColor_, borderSize_, borderRound_);
}

bool CControlUI::DrawImage(HDC dc, std::wstring_view description, const RECT* rect) {
    if (manager_ == nullptr) {
        return false;
    }
    const std::optional<ImageDescription> image = parseImageDescription(description);
    if (!image) {
        return false;
    }
    const UiImage* decoded = manager_->GetImage(image->file);
    if (decoded == nullptr) {
        return false;
    }
    const UiRect source = image->source.value_or(UiRect{0, 0, decoded->width, decoded->height});
    drawImage(dc, *decoded, rect != nullptr ? *rect : pos_, source, image->corner, image->fade);
    return true;
}

void CControlUI::DrawTextIn(HDC dc, const RECT& rect, std::wstring_view text, std::uint32_t color, UINT format) {
    if (manager_ != nullptr) {
        drawText(dc, rect, text, manager_->GetFont(font_), color, format);
    }
}

RECT CControlUI::TextRect() const {
    return RECT{pos_.left + textPadding_.left, pos_.top + textPadding_.top, pos_.right - textPadding_.right,
                pos_.bottom - textPadding_.bottom};
}
