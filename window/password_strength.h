#pragma once
#include <cstdint>
#include <string_view>

// 0 for a text of fewer than 6 units; otherwise how many of the classes lower-case letters,
// upper-case letters, digits and everything else occur in it, at most 3.
inline std::uint8_t passwordStrength(std::wstring_view text) {
    if (text.size() < 6) {
        return 0;
    }
    bool lower = false, upper = false, digit = false, other = false;
    for (wchar_t c : text) {
        if (c >= L'a' && c <= L'z') {
            lower = true;
        } else if (c >= L'A' && c <= L'Z') {
            upper = true;
        } else if (c >= L'0' && c <= L'9') {
            digit = true;
        } else {
            other = true;
        }
    }
    const int classes = int(lower) + int(upper) + int(digit) + int(other);
    return static_cast<std::uint8_t>(classes < 3 ? classes : 3);
}
