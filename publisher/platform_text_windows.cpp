// The text conversions on Windows: names are UTF-16 already; code page 936 through the
// project's one byte/UTF-16 meeting place.
#include "publisher/platform_text.h"

#include <windows.h>

#include "common/text_codec.h"

namespace {

bool isPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

}  // namespace

std::optional<std::string> encodeCodePage936(std::wstring_view text) {
    for (wchar_t c : text) {
        if (isPrivateUse(c) || c == L'\0') {
            return std::nullopt;
        }
    }
    std::optional<std::string> bytes = encodeText(text, 936);
    if (!bytes || decodeBytes(*bytes, 936) != text) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::wstring> decodeCodePage936(std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    if (bytes.size() > 0x7FFFFFFF) {
        return std::nullopt;
    }
    const int inLength = static_cast<int>(bytes.size());
    const int outLength = ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (outLength <= 0) {
        return std::nullopt;
    }
    return decodeBytes(bytes, 936);
}

std::optional<std::wstring> pathText(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    // A lone surrogate is no text.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return std::nullopt;
        }
    }
    return text;
}

std::filesystem::path textPath(std::wstring_view text) {
    return std::filesystem::path(std::wstring(text));
}

std::string utf8Text(std::wstring_view text) {
    std::wstring clean(text);
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const wchar_t c = clean[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < clean.size() && clean[i + 1] >= 0xDC00 && clean[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            clean[i] = 0xFFFD;
        }
    }
    return encodeText(clean, CP_UTF8).value_or(std::string());
}

std::wstring foldCase(std::wstring_view text) {
    std::wstring folded(text);
    if (!folded.empty() && folded.size() < 0x7FFFFFFF) {
        const int length = static_cast<int>(folded.size());
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, folded.data(), length, folded.data(), length, nullptr,
                        nullptr, 0);
    }
    return folded;
}
