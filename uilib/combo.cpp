#include "uilib/combo.h"

#include "uilib/combo_popup.h"
#include "uilib/paint_manager.h"
#include "uilib/gdi_handles.h"
#include "uilib/render.h"

CComboUI::CComboUI() {
    textFormat_ = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    textPadding_ = UiRect{6, 0, 24, 0};
}

CComboUI::~CComboUI() {
    CloseDropDown();
}

std::wstring CComboUI::GetText() const {
    if (const CListLabelElementUI* item = GetItemAt(current_)) {
        return item->GetText();
    }
    return text_;
}

bool CComboUI::SelectItem(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    current_ = index;
    Invalidate();
    if (manager_ != nullptr) {
        manager_->SendNotify(this, UiNotifyType::ItemSelect, static_cast<WPARAM>(index));
    }
    return true;
}

CListLabelElementUI* CComboUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index)].get();
}

int CComboUI::GetItemIndex(const CControlUI* item) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[static_cast<std::size_t>(i)].get() == item) {
            return i;
        }
    }
    return -1;
}

bool CComboUI::AddChild(CControlUI* child) {
    if (CListLabelElementUI* entry = child != nullptr ? child->AsListEntry() : nullptr) {
        return Add(entry);
    }
    delete child;
    return false;
}

bool CComboUI::Add(CListLabelElementUI* item) {
    if (item == nullptr) {
        return false;
    }
    item->SetManager(manager_, this);
    items_.emplace_back(item);
    if (popup_ != nullptr) {
        popup_->ItemsChanged();
    }
    return true;
}

bool CComboUI::Remove(CControlUI* item) {
    return RemoveAt(GetItemIndex(item));
}

bool CComboUI::RemoveAt(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
    if (popup_ != nullptr) {
        popup_->ItemsChanged();
    }
    Invalidate();
    return true;
}

void CComboUI::RemoveAll() {
    items_.clear();
    current_ = -1;
    if (popup_ != nullptr) {
        popup_->ItemsChanged();
    }
    Invalidate();
}

void CComboUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"dropheight") {
        dropHeight_ = parseInt(value).value_or(150);
    } else if (name == L"arrowimage") {
        arrowImage_ = value;
    } else if (name == L"itemhotcolor") {
        itemHotColor_ = parseColor(value).value_or(itemHotColor_);
    } else if (name == L"itemselectedcolor") {
        itemSelectedColor_ = parseColor(value).value_or(itemSelectedColor_);
    } else if (name == L"listbkcolor") {
        listBkColor_ = parseColor(value).value_or(listBkColor_);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CComboUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CButtonUI::SetManager(manager, parent);
    for (auto& item : items_) {
        item->SetManager(manager, this);
    }
}

bool CComboUI::Activate() {
    if (!CButtonUI::Activate()) {
        return false;
    }
    if (popup_ != nullptr) {
        CloseDropDown();
    } else if (manager_ != nullptr && manager_->GetPaintWindow() != nullptr) {
        popup_ = CComboPopup::Open(*this);
    }
    return true;
}

void CComboUI::CloseDropDown() {
    if (popup_ != nullptr) {
        popup_->Dismiss();
    }
}

void CComboUI::PopupClosed() {
    popup_ = nullptr;
}

void CComboUI::PaintStatusImage(HDC dc) {
    CButtonUI::PaintStatusImage(dc);
    RECT arrow{pos_.right - 22, pos_.top, pos_.right - 4, pos_.bottom};
    if (!arrowImage_.empty()) {
        DrawImage(dc, arrowImage_, &arrow);
        return;
    }
    // A small chevron when the skin gives no arrow image.
    const int cx = (arrow.left + arrow.right) / 2;
    const int cy = (arrow.top + arrow.bottom) / 2;
    const POINT points[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 3}};
    UniqueGdiObject brush(::CreateSolidBrush(toColorRef(textColor_)));
    UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, toColorRef(textColor_)));
    SelectObjectGuard selectedBrush(dc, brush.get());
    SelectObjectGuard selectedPen(dc, pen.get());
    ::Polygon(dc, points, 3);
}
