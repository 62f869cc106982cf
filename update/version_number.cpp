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

}  // namespace

float readVersionNumber(std::wstring_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Collect the longest prefix of the form digits [. digits] [e [sign] digits] as ASCII.
    char number[64];
    std::size_t n = 0;
    auto put = [&](wchar_t c) {
        if (n < sizeof number - 1) {
            number[n++] = static_cast<char>(c);
        }
    };
    std::size_t mantissaDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++mantissaDigits) {
        put(text[i]);
    }
    if (i < text.size() && text[i] == L'.') {
        put(L'.');
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++mantissaDigits) {
            put(text[i]);
        }
    }
    if (mantissaDigits == 0) {
        return 0.0f;
    }
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            put(L'e');
            for (std::size_t k = i + 1; k < j; ++k) {
                put(text[k]);
            }
            for (; j < text.size() && isDigit(text[j]); ++j) {
                put(text[j]);
            }
        }
    }
    float value = 0.0f;
    const auto result = std::from_chars(number, number + n, value);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view digits(number, n);
        const std::size_t e = digits.find('e');
        const bool tiny = e != std::string_view::npos && e + 1 < n && number[e + 1] == '-';
        value = tiny ? 0.0f : HUGE_VALF;
    }
    return negative ? -value : value;
}
