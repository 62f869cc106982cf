#include "uilib/container.h"

#include <algorithm>

#include "uilib/paint_manager.h"

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[static_cast<std::size_t>(i)].get() == control) {
            return i;
        }
    }
    return -1;
}

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    std::unique_ptr<CControlUI> owned(control);
    if (!owned || index < 0 || index > GetCount()) {
        return false;
    }
    owned->SetManager(manager_, this);
    items_.insert(items_.begin() + index, std::move(owned));
    UpdateChildVisibility();
    if (manager_ != nullptr) {
        control->OnWindowAttached();
    }
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control) {
    return RemoveAt(GetItemIndex(control));
}

bool CContainerUI::RemoveAt(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    UpdateChildVisibility();
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    items_.clear();
    NeedUpdate();
}

void CContainerUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"inset") {
        inset_ = parseRect(value).value_or(UiRect{});
    } else if (name == L"childpadding") {
        childPadding_ = parseInt(value).value_or(0);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CContainerUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    UpdateChildVisibility();
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    UpdateChildVisibility();
}

void CContainerUI::UpdateChildVisibility() {
    for (int i = 0; i < GetCount(); ++i) {
        items_[static_cast<std::size_t>(i)]->SetInternVisible(IsVisible() && ShowsChild(i));
    }
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (auto& item : items_) {
        item->SetManager(manager, this);
    }
}

void CContainerUI::OnWindowAttached() {
    for (auto& item : items_) {
        item->OnWindowAttached();
    }
}

void CContainerUI::OnWindowPainted() {
    for (auto& item : items_) {
        item->OnWindowPainted();
    }
}

void CContainerUI::OnWindowDetached() {
    for (auto& item : items_) {
        item->OnWindowDetached();
    }
}

CControlUI* CContainerUI::FindControl(const std::function<bool(CControlUI*)>& match, bool lastMatch) {
    CControlUI* found = match(this) ? this : nullptr;
    if (found != nullptr && !lastMatch) {
        return found;
    }
    for (auto& item : items_) {
        if (CControlUI* inner = item->FindControl(match, lastMatch)) {
            found = inner;
            if (!lastMatch) {
                return found;
            }
        }
    }
    return found;
}

RECT CContainerUI::InnerRect() const {
    return RECT{pos_.left + inset_.left, pos_.top + inset_.top, pos_.right - inset_.right, pos_.bottom - inset_.bottom};
}

RECT CContainerUI::FloatRect(const CControlUI& child, const RECT& inner) const {
    const UiRect& p = child.GetFloatPos();
    return RECT{inner.left + p.left, inner.top + p.top, inner.left + p.right, inner.top + p.bottom};
}

void CContainerUI::PlaceFloating(const RECT& inner, bool everyChild) {
    for (auto& item : items_) {
        if (item->IsFloat()) {
            item->SetPos(FloatRect(*item, inner));
        } else if (everyChild) {
            const UiRect& pad = item->GetPadding();
            RECT rect{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right, inner.bottom - pad.bottom};
            // A child with its own size keeps it, anchored at the top-left.
            if (item->GetFixedWidth() > 0) {
                rect.right = std::min(rect.right, rect.left + item->GetFixedWidth());
            }
            if (item->GetFixedHeight() > 0) {
                rect.bottom = std::min(rect.bottom, rect.top + item->GetFixedHeight());
            }
            item->SetPos(rect);
        }
    }
}

void CContainerUI::SetPos(const RECT& pos) {
    CControlUI::SetPos(pos);
    PlaceFloating(InnerRect(), true);
}

void CContainerUI::DoPaint(HDC dc, const RECT& paint) {
    RECT clip;
    if (!::IntersectRect(&clip, &paint, &pos_)) {
        return;
    }
    CControlUI::DoPaint(dc, paint);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    for (auto& item : items_) {
        if (item->IsVisible()) {
            item->DoPaint(dc, clip);
        }
    }
    ::RestoreDC(dc, saved);
}

namespace {

// Splits the free length among the stacked children: fixed ones keep their size, the others
// share what is left equally.
template <typename SizeOf, typename Place>
void stack(std::vector<std::unique_ptr<CControlUI>>& items, int start, int length, int gap, SizeOf sizeOf,
           Place place) {
    int fixedTotal = 0;
    int flexible = 0;
    int shown = 0;
    for (auto& item : items) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        ++shown;
        const int size = sizeOf(*item);
        if (size > 0) {
            fixedTotal += size;
        } else {
            ++flexible;
        }
    }
    const int gaps = shown > 1 ? gap * (shown - 1) : 0;
    const int free = std::max(0, length - fixedTotal - gaps);
    int flexibleLeft = flexible;
    int freeLeft = free;
    int cursor = start;
    for (auto& item : items) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        int size = sizeOf(*item);
        if (size <= 0) {
            size = flexibleLeft > 0 ? freeLeft / flexibleLeft : 0;
            freeLeft -= size;
            --flexibleLeft;
        }
        place(*item, cursor, size);
        cursor += size + gap;
    }
}

}  // namespace

void CVerticalLayoutUI::SetPos(const RECT& pos) {
    CControlUI::SetPos(pos);
    const RECT inner = InnerRect();
    const auto outerHeight = [](CControlUI& c) {
        return c.GetFixedHeight() > 0 ? c.GetFixedHeight() + c.GetPadding().top + c.GetPadding().bottom : 0;
    };
    stack(items_, inner.top, inner.bottom - inner.top, childPadding_, outerHeight,
          [&](CControlUI& c, int at, int size) {
              const UiRect& pad = c.GetPadding();
              RECT rect{inner.left + pad.left, at + pad.top, inner.right - pad.right, at + size - pad.bottom};
              if (c.GetFixedWidth() > 0) {
                  rect.right = std::min(rect.right, rect.left + c.GetFixedWidth());
              }
              c.SetPos(rect);
          });
    PlaceFloating(inner, false);
}

void CHorizontalLayoutUI::SetPos(const RECT& pos) {
    CControlUI::SetPos(pos);
    const RECT inner = InnerRect();
    const auto outerWidth = [](CControlUI& c) {
        return c.GetFixedWidth() > 0 ? c.GetFixedWidth() + c.GetPadding().left + c.GetPadding().right : 0;
    };
    stack(items_, inner.left, inner.right - inner.left, childPadding_, outerWidth,
          [&](CControlUI& c, int at, int size) {
              const UiRect& pad = c.GetPadding();
              RECT rect{at + pad.left, inner.top + pad.top, at + size - pad.right, inner.bottom - pad.bottom};
              if (c.GetFixedHeight() > 0) {
                  rect.bottom = std::min(rect.bottom, rect.top + c.GetFixedHeight());
              }
              c.SetPos(rect);
          });
    PlaceFloating(inner, false);
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    if (index == current_) {
        return true;
    }
    current_ = index;
    UpdateChildVisibility();
    NeedUpdate();
    if (manager_ != nullptr) {
        manager_->SendNotify(this, UiNotifyType::TabSelect, static_cast<WPARAM>(index));
    }
    return true;
}

void CTabLayoutUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"selectedid") {
        current_ = parseInt(value).value_or(0);
        UpdateChildVisibility();
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}
