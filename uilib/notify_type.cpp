#include "uilib/notify_type.h"

#include "common/ascii_case.h"

namespace {

struct Named {
    UiNotifyType type;
    std::wstring_view name;
};

constexpr Named kNames[] = {
    {UiNotifyType::Click, L"click"},           {UiNotifyType::SetFocus, L"setfocus"},
    {UiNotifyType::KillFocus, L"killfocus"},   {UiNotifyType::TextChanged, L"textchanged"},
    {UiNotifyType::ItemSelect, L"itemselect"}, {UiNotifyType::SelectChanged, L"selectchanged"},
    {UiNotifyType::TabSelect, L"tabselect"},
};

}  // namespace

std::wstring_view notifyTypeName(UiNotifyType type) noexcept {
    for (const Named& entry : kNames) {
        if (entry.type == type) {
            return entry.name;
        }
    }
    return L"";
}

std::optional<UiNotifyType> notifyTypeFromName(std::wstring_view name) noexcept {
    for (const Named& entry : kNames) {
        if (equalsIgnoringAsciiCase(entry.name, name)) {
            return entry.type;
        }
    }
    return std::nullopt;
}
