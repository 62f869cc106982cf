#include "window/skin_controls.h"

#include "uilib/option.h"

std::wstring SkinControls::text(std::wstring_view name) const {
    CControlUI* control = find(name);
    return control != nullptr ? control->GetText() : std::wstring();
}

void SkinControls::setText(std::wstring_view name, std::wstring_view text) const {
    if (CControlUI* control = find(name)) {
        control->SetText(text);
    }
}

bool SkinControls::isSelected(std::wstring_view name) const {
    auto* option = find<COptionUI>(name);
    return option != nullptr && option->IsSelected();
}

void SkinControls::setSelected(std::wstring_view name, bool selected) const {
    if (auto* option = find<COptionUI>(name)) {
        option->SetSelected(selected);
    }
}

void SkinControls::setEnabled(std::wstring_view name, bool enabled) const {
    if (CControlUI* control = find(name)) {
        control->SetEnabled(enabled);
    }
}
