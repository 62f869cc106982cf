#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The name prefix of the account list's entries; the rest of the name is the record's index.
inline constexpr std::wstring_view kAccountEntryPrefix = L"AccountsCount_Index_";

inline std::wstring accountEntryName(int index) {
    return std::wstring(kAccountEntryPrefix) + std::to_wstring(index);
}

// The record index of a list entry: its name without as many leading characters as the prefix
// has, read as a decimal number (leading blanks and a sign allowed, no digits give 0), low 8
// bits kept.
inline std::uint8_t accountIndexFromName(std::wstring_view name) {
    if (name.size() <= kAccountEntryPrefix.size()) {
        return 0;
    }
    std::wstring_view rest = name.substr(kAccountEntryPrefix.size());
    std::size_t i = 0;
    while (i < rest.size() && (rest[i] == L' ' || rest[i] == L'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < rest.size() && (rest[i] == L'+' || rest[i] == L'-')) {
        negative = rest[i] == L'-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < rest.size() && rest[i] >= L'0' && rest[i] <= L'9'; ++i) {
        value = value * 10 + static_cast<std::uint32_t>(rest[i] - L'0');  // only the low bits matter
    }
    return static_cast<std::uint8_t>(negative ? 0u - value : value);
}
