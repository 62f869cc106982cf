#include "update/version_number.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::size_t skipBlanks(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return i;
}

}  // namespace

// Blanks, a sign, digits with an optional point and fraction (one digit at least), then an
// exponent only when digits follow its "e" and sign.
std::size_t versionNumberLength(std::wstring_view text) noexcept {
    std::size_t i = skipBlanks(text);
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

float readVersionNumber(std::wstring_view text) noexcept {
    const std::size_t length = versionNumberLength(text);
    if (length == 0) {
        return 0.0f;
    }
    std::size_t i = skipBlanks(text);
    const bool negative = text[i] == L'-';
    if (text[i] == L'+' || text[i] == L'-') {
        ++i;
    }
    // The number as ASCII, whole: every character of it is a digit, a point, an e or a sign.
    std::string number;
    try {
        number.reserve(length - i);
    } catch (...) {
        return 0.0f;
    }
    for (; i < length; ++i) {
        number.push_back(static_cast<char>(text[i]));
    }
    float value = 0.0f;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0f : HUGE_VALF;
    }
    return negative ? -value : value;
}
