#pragma once
// The kinds of notification a control sends its window, and their names.
#include <optional>
#include <string_view>

enum class UiNotifyType {
    Click,
    SetFocus,
    KillFocus,
    TextChanged,
    ItemSelect,
    SelectChanged,
    TabSelect,
};

// The name of a type as logs and tests write it: "click", "setfocus", "killfocus",
// "textchanged", "itemselect", "selectchanged", "tabselect".
std::wstring_view notifyTypeName(UiNotifyType type) noexcept;
// The type of a name, compared without regard to ASCII case; nothing for another name.
std::optional<UiNotifyType> notifyTypeFromName(std::wstring_view name) noexcept;
