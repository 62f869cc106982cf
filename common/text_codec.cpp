#include "common/text_codec.h"

#include <climits>

std::wstring decodeBytes(std::string_view bytes, UINT codePage) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    const int inLength = static_cast<int>(bytes.size());
    const int outLength = ::MultiByteToWideChar(codePage, 0, bytes.data(), inLength, nullptr, 0);
    if (outLength <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(outLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), inLength, text.data(), outLength);
    return text;
}

std::optional<std::string> encodeText(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const int inLength = static_cast<int>(text.size());
    // UTF-8 and UTF-7 refuse the "default character used" query; they represent everything.
    const bool unicodePage = codePage == CP_UTF8 || codePage == CP_UTF7;
    const DWORD flags = unicodePage ? 0 : WC_NO_BEST_FIT_CHARS;
    const int outLength = ::WideCharToMultiByte(codePage, flags, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(outLength), '\0');
    BOOL defaultUsed = FALSE;
    ::WideCharToMultiByte(codePage, flags, text.data(), inLength, bytes.data(), outLength, nullptr,
                          unicodePage ? nullptr : &defaultUsed);
    if (defaultUsed) {
        return std::nullopt;
    }
    return bytes;
}

std::wstring widenBytes(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return text;
}
