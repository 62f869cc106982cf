#include "uilib/option.h"

#include "uilib/paint_manager.h"
#include "uilib/render.h"

void COptionUI::SetSelected(bool selected) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    if (selected && !group_.empty() && manager_ != nullptr) {
        for (CControlUI* member : manager_->GetGroup(group_)) {
            auto* other = static_cast<COptionUI*>(member);  // only options belong to groups
            if (other != this && other->selected_) {
                other->selected_ = false;
                other->Invalidate();
                manager_->SendNotify(other, UiNotifyType::SelectChanged);
            }
        }
    }
    Invalidate();
    if (manager_ != nullptr) {
        manager_->SendNotify(this, UiNotifyType::SelectChanged);
    }
}

void COptionUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"group") {
        group_ = value;
    } else if (name == L"selected") {
        SetSelected(parseBool(value).value_or(false));
    } else if (name == L"selectedimage") {
        selectedImage_ = value;
    } else if (name == L"selectedhotimage") {
        selectedHotImage_ = value;
    } else if (name == L"selectedbkcolor") {
        selectedBkColor_ = parseColor(value).value_or(0);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

bool COptionUI::Activate() {
    if (!IsVisible() || !IsEnabled()) {
        return false;
    }
    SetSelected(group_.empty() ? !selected_ : true);
    return CButtonUI::Activate();
}

void COptionUI::PaintStatusImage(HDC dc) {
    if (!selected_) {
        CButtonUI::PaintStatusImage(dc);
        return;
    }
    if (selectedBkColor_ != 0) {
        fillColor(dc, pos_, selectedBkColor_);
    }
    if (hot_ && !selectedHotImage_.empty()) {
        DrawImage(dc, selectedHotImage_);
    } else if (!selectedImage_.empty()) {
        DrawImage(dc, selectedImage_);
    } else {
        CButtonUI::PaintStatusImage(dc);
    }
}
