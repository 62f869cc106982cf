#pragma once
// Comparisons of texts that ignore the letter case of ASCII letters only, as Windows compares
// the ASCII names it reserves (devices, the launcher's own files). Needs no Windows service.
#include <cstddef>
#include <string_view>

constexpr wchar_t upperAscii(wchar_t c) noexcept {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

constexpr bool equalsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperAscii(a[i]) != upperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool containsIgnoringAsciiCase(std::wstring_view text, std::wstring_view part) noexcept {
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (equalsIgnoringAsciiCase(text.substr(i, part.size()), part)) {
            return true;
        }
    }
    return false;
}
