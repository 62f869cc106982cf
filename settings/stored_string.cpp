#include "settings/stored_string.h"

#include <optional>

namespace {

constexpr std::size_t kGroupLength = 8;
constexpr std::size_t kBlockLength = 8 * kGroupLength;

std::optional<std::uint16_t> readHex4(std::wstring_view digits) {
    std::uint16_t value = 0;
    for (wchar_t c : digits.substr(0, 4)) {
        unsigned digit;
        if (c >= L'0' && c <= L'9') {
            digit = static_cast<unsigned>(c - L'0');
        } else if (c >= L'a' && c <= L'f') {
            digit = static_cast<unsigned>(c - L'a' + 10);
        } else if (c >= L'A' && c <= L'F') {
            digit = static_cast<unsigned>(c - L'A' + 10);
        } else {
            return std::nullopt;
        }
        value = static_cast<std::uint16_t>((value << 4) | digit);
    }
    return value;
}

}  // namespace

bool DecodeStoredString(std::wstring_view text, wchar_t* out, std::uint16_t capacity) {
    if (out == nullptr || capacity == 0) {
        return false;
    }
    out[0] = L'\0';
    if (capacity > kStoredStringMaxCapacity) {
        capacity = kStoredStringMaxCapacity;
    }
    // The whole length counts: a text past 65535 characters must not wrap into a valid one.
    if (text.size() < kBlockLength) {
        return false;
    }
    const std::optional<std::uint16_t> count = readHex4(text);
    if (!count) {
        return false;
    }
    const std::size_t n = *count;
    if (text.size() != (n + 7) / 8 * kBlockLength) {
        return false;
    }
    if (n + 1 > capacity) {
        return false;
    }
    wchar_t decoded[kStoredStringMaxCapacity];
    for (std::size_t i = 0; i < n; ++i) {
        const std::wstring_view group = text.substr(i * kGroupLength, kGroupLength);
        const std::optional<std::uint16_t> mask = readHex4(group);
        const std::optional<std::uint16_t> value = readHex4(group.substr(4));
        if (!mask || !value) {
            return false;
        }
        decoded[i] = static_cast<wchar_t>(*value ^ *mask);
    }
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = decoded[i];
    }
    out[n] = L'\0';
    return true;
}

std::wstring EncodeStoredString(std::wstring_view text, std::uint16_t maskStep, wchar_t pad) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    auto appendHex4 = [](std::wstring& out, std::uint16_t value) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            out.push_back(kHex[(value >> shift) & 0xF]);
        }
    };
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto mask = static_cast<std::uint16_t>(i == 0 ? text.size() : maskStep * i);
        appendHex4(out, mask);
        appendHex4(out, static_cast<std::uint16_t>(static_cast<std::uint16_t>(text[i]) ^ mask));
    }
    const std::size_t blocks = text.empty() ? 1 : (text.size() + 7) / 8;
    out.append(blocks * kBlockLength - out.size(), pad);
    return out;
}
