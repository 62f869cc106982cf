#include "update/http_rules.h"

std::optional<std::uint64_t> parseContentLength(std::wstring_view value) noexcept {
    while (!value.empty() && (value.front() == L' ' || value.front() == L'\t')) {
        value.remove_prefix(1);
    }
    while (!value.empty() && (value.back() == L' ' || value.back() == L'\t')) {
        value.remove_suffix(1);
    }
    if (value.empty()) {
        return std::nullopt;
    }
    std::uint64_t length = 0;
    for (wchar_t c : value) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (length > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        length = length * 10 + digit;
    }
    return length;
}

std::string escapeUrlBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr std::string_view kEscaped = "\\\"<>^`{|}";
    std::string wire;
    wire.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || kEscaped.find(c) != std::string_view::npos) {
            wire.push_back('%');
            wire.push_back(kHex[byte >> 4]);
            wire.push_back(kHex[byte & 0x0F]);
        } else {
            wire.push_back(c);
        }
    }
    return wire;
}
