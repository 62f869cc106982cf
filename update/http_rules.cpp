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

namespace {

// Leading decimal digits of text as a number, which it then leaves; nothing without digits or
// on overflow.
std::optional<std::uint64_t> takeNumber(std::wstring_view& text) noexcept {
    std::size_t length = 0;
    while (length < text.size() && text[length] >= L'0' && text[length] <= L'9') {
        ++length;
    }
    const std::optional<std::uint64_t> number = parseContentLength(text.substr(0, length));
    text.remove_prefix(length);
    return number;
}

bool take(std::wstring_view& text, wchar_t c) noexcept {
    if (text.empty() || text.front() != c) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

}  // namespace

std::optional<ContentRange> parseContentRange(std::wstring_view value) noexcept {
    constexpr std::wstring_view kUnit = L"bytes ";
    if (!value.starts_with(kUnit)) {
        return std::nullopt;
    }
    value.remove_prefix(kUnit.size());
    ContentRange range;
    const std::optional<std::uint64_t> first = takeNumber(value);
    if (!first || !take(value, L'-')) {
        return std::nullopt;
    }
    const std::optional<std::uint64_t> last = takeNumber(value);
    if (!last || *last < *first || !take(value, L'/')) {
        return std::nullopt;
    }
    range.first = *first;
    range.last = *last;
    if (value == L"*") {
        return range;
    }
    range.total = takeNumber(value);
    if (!range.total || !value.empty() || *range.total <= range.last) {
        return std::nullopt;
    }
    return range;
}

std::wstring resumeHeaders(std::uint64_t offset, std::wstring_view validator) {
    std::wstring headers = L"Range: bytes=" + std::to_wstring(offset) + L"-\r\n";
    if (!validator.empty()) {
        headers.append(L"If-Range: ").append(validator).append(L"\r\n");
    }
    return headers;
}

std::wstring rangeValidator(std::wstring_view etag, std::wstring_view lastModified) {
    if (!etag.empty() && !etag.starts_with(L"W/")) {
        return std::wstring(etag);
    }
    return std::wstring(lastModified);
}

ResumeAnswer resumeAnswer(std::uint32_t status, std::uint64_t offset,
                          const std::optional<ContentRange>& range) noexcept {
    if (status == 206) {
        return offset > 0 && range && range->first == offset ? ResumeAnswer::Append : ResumeAnswer::AskWhole;
    }
    if (status == 416) {
        return offset > 0 ? ResumeAnswer::AskWhole : ResumeAnswer::Failed;
    }
    return isSuccessStatus(status) ? ResumeAnswer::Whole : ResumeAnswer::Failed;
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
