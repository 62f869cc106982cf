#include "registration/field_rules.h"

namespace {

// Characters a Chinese input method writes at full width.
bool isWide(char32_t c) {
    return (c >= 0x3000 && c <= 0x303F)      // CJK symbols and punctuation
           || (c >= 0x3400 && c <= 0x4DBF)   // CJK ideographs, extension A
           || (c >= 0x4E00 && c <= 0x9FFF)   // CJK unified ideographs
           || (c >= 0xF900 && c <= 0xFAFF)   // CJK compatibility ideographs
           || (c >= 0xFF01 && c <= 0xFF60)   // full-width forms
           || (c >= 0xFFE0 && c <= 0xFFE6);  // full-width signs
}

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

AccountNameCheck checkAccountName(std::wstring_view text) {
    if (text.size() < 6 || text.size() > 18) {
        return AccountNameCheck::BadLength;
    }
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return AccountNameCheck::Valid;
        }
    }
    return AccountNameCheck::OnlyDigits;
}

std::size_t nicknameLength(std::wstring_view text) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<char32_t>(text[i]);
        // A character beyond the first plane (the further ideographs among them) counts as
        // two, whether it arrives as a surrogate pair or as one unit.
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
            length += 2;
            ++i;
            continue;
        }
        length += isWide(c) || c > 0xFFFF ? 2 : 1;
    }
    return length;
}

bool checkNickname(std::wstring_view text) {
    const std::size_t length = nicknameLength(text);
    return length >= 6 && length <= 16;
}

PasswordCheck checkPassword(std::wstring_view text, std::wstring_view firstField, std::wstring_view secondField) {
    if (text.size() < 8 || text.size() > 16) {
        return PasswordCheck::BadLength;
    }
    if (!firstField.empty() && !secondField.empty() && firstField != secondField) {
        return PasswordCheck::Mismatch;
    }
    return PasswordCheck::Valid;
}
