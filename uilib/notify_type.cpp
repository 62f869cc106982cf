#include "uilib/notify_type.h"

#include "common/ascii_case.h"

namespace {

constexpr UiNotifyType kTypes[] = {
    UiNotifyType::Click,      UiNotifyType::SetFocus,      UiNotifyType::KillFocus, UiNotifyType::TextChanged,
    UiNotifyType::ItemSelect, UiNotifyType::SelectChanged, UiNotifyType::TabSelect,
};

}  // namespace

std::wstring_view notifyTypeName(UiNotifyType type) noexcept {
    switch (type) {
        case UiNotifyType::Click:
            return L"click";
        case UiNotifyType::SetFocus:
            return L"setfocus";
        case UiNotifyType::KillFocus:
            return L"killfocus";
        case UiNotifyType::TextChanged:
            return L"textchanged";
        case UiNotifyType::ItemSelect:
            return L"itemselect";
        case UiNotifyType::SelectChanged:
            return L"selectchanged";
        case UiNotifyType::TabSelect:
            return L"tabselect";
    }
    return L"";
}

std::optional<UiNotifyType> notifyTypeFromName(std::wstring_view name) noexcept {
    for (UiNotifyType type : kTypes) {
        if (equalsIgnoringAsciiCase(notifyTypeName(type), name)) {
            return type;
        }
    }
    return std::nullopt;
}
