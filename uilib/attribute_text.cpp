#include "uilib/attribute_text.h"
#include "common/ascii_case.h"

#include <vector>

namespace {

std::wstring_view trim(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

wchar_t lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::optional<std::uint64_t> parseDigits(std::wstring_view text, unsigned base) {
    if (text.empty() || text.size() > 16) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        unsigned digit;
        const wchar_t l = lower(c);
        if (l >= L'0' && l <= L'9') {
            digit = static_cast<unsigned>(l - L'0');
        } else if (l >= L'a' && l <= L'f') {
            digit = static_cast<unsigned>(l - L'a' + 10);
        } else {
            return std::nullopt;
        }
        if (digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
    }
    return value;
}

std::vector<std::wstring_view> splitCommas(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == L',') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::optional<std::vector<int>> parseNumbers(std::wstring_view text, std::size_t count) {
    const std::vector<std::wstring_view> parts = splitCommas(text);
    if (parts.size() > count) {
        return std::nullopt;
    }
    std::vector<int> numbers(count, 0);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<int> n = parseInt(parts[i]);
        if (!n) {
            return std::nullopt;
        }
        numbers[i] = *n;
    }
    return numbers;
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

}  // namespace

std::optional<int> parseInt(std::wstring_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.size() > 10) {
        return std::nullopt;
    }
    const std::optional<std::uint64_t> value = parseDigits(text, 10);
    if (!value || *value > 0x7FFFFFFFull + (negative ? 1 : 0)) {
        return std::nullopt;
    }
    return negative ? static_cast<int>(-static_cast<std::int64_t>(*value)) : static_cast<int>(*value);
}

std::optional<UiRect> parseRect(std::wstring_view text) {
    const auto n = parseNumbers(text, 4);
    if (!n) {
        return std::nullopt;
    }
    return UiRect{(*n)[0], (*n)[1], (*n)[2], (*n)[3]};
}

std::optional<UiSize> parseSize(std::wstring_view text) {
    const auto n = parseNumbers(text, 2);
    if (!n) {
        return std::nullopt;
    }
    return UiSize{(*n)[0], (*n)[1]};
}

std::optional<std::uint32_t> parseColor(std::wstring_view text) {
    text = trim(text);
    std::optional<std::uint64_t> value;
    std::size_t digits = 8;
    if (!text.empty() && text.front() == L'#') {
        text.remove_prefix(1);
        digits = text.size();
        value = parseDigits(text, 16);
    } else if (text.size() > 2 && text[0] == L'0' && lower(text[1]) == L'x') {
        text.remove_prefix(2);
        value = parseDigits(text, 16);
    } else {
        value = parseDigits(text, 10);
    }
    if (!value || *value > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    if (digits == 6) {
        return static_cast<std::uint32_t>(*value) | 0xFF000000u;
    }
    if (digits != 8) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

std::optional<bool> parseBool(std::wstring_view text) {
    text = trim(text);
    for (std::wstring_view yes : {L"true", L"1", L"yes"}) {
        if (equalsIgnoringAsciiCase(text, yes)) {
            return true;
        }
    }
    for (std::wstring_view no : {L"false", L"0", L"no"}) {
        if (equalsIgnoringAsciiCase(text, no)) {
            return false;
        }
    }
    return std::nullopt;
}

std::optional<ImageDescription> parseImageDescription(std::wstring_view text) {
    text = trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    ImageDescription image;
    if (text.find(L'=') == std::wstring_view::npos) {
        image.file = std::wstring(text);
        return image;
    }
    while (true) {
        text = trim(text);
        if (text.empty()) {
            break;
        }
        const std::size_t equals = text.find(L'=');
        if (equals == std::wstring_view::npos) {
            return std::nullopt;
        }
        const std::wstring_view key = trim(text.substr(0, equals));
        if (key.empty()) {
            return std::nullopt;
        }
        text = trim(text.substr(equals + 1));
        if (text.empty() || (text.front() != L'\'' && text.front() != L'"')) {
            return std::nullopt;
        }
        const wchar_t quote = text.front();
        const std::size_t close = text.find(quote, 1);
        if (close == std::wstring_view::npos) {
            return std::nullopt;
        }
        const std::wstring_view value = text.substr(1, close - 1);
        text.remove_prefix(close + 1);
        if (equalsIgnoringAsciiCase(key, L"file")) {
            image.file = std::wstring(value);
        } else if (equalsIgnoringAsciiCase(key, L"source") || equalsIgnoringAsciiCase(key, L"corner")) {
            const std::optional<UiRect> rect = parseRect(value);
            if (!rect) {
                return std::nullopt;
            }
            if (equalsIgnoringAsciiCase(key, L"source")) {
                image.source = rect;
            } else {
                image.corner = *rect;
            }
        } else if (equalsIgnoringAsciiCase(key, L"fade")) {
            const std::optional<int> fade = parseInt(value);
            if (!fade || *fade < 0 || *fade > 255) {
                return std::nullopt;
            }
            image.fade = static_cast<std::uint8_t>(*fade);
        }
        // Other keys are left for later versions of the format and ignored.
    }
    if (image.file.empty()) {
        return std::nullopt;
    }
    return image;
}

std::wstring joinResourcePath(std::wstring_view folder, std::wstring_view relative) {
    const bool absolute =
        (relative.size() >= 2 && relative[1] == L':') || (!relative.empty() && isSeparator(relative[0]));
    std::wstring joined;
    if (absolute) {
        joined = std::wstring(relative);
    } else {
        joined = std::wstring(folder);
        if (!joined.empty() && !isSeparator(joined.back())) {
            joined.push_back(L'\\');
        }
        joined.append(relative);
    }
    std::wstring out;
    out.reserve(joined.size());
    for (std::size_t i = 0; i < joined.size(); ++i) {
        const wchar_t c = isSeparator(joined[i]) ? L'\\' : joined[i];
        // A network path keeps its leading pair of separators.
        if (c == L'\\' && !out.empty() && out.back() == L'\\' && out.size() > 1) {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::optional<ImageNeed> imageAttributeNeed(std::wstring_view attribute) {
    struct Known {
        std::wstring_view name;
        ImageNeed need;
    };
    static constexpr Known kImages[] = {
        {L"bkimage", ImageNeed::FirstFrame},       {L"normalimage", ImageNeed::FirstFrame},
        {L"foreimage", ImageNeed::FirstFrame},     {L"arrowimage", ImageNeed::FirstFrame},
        {L"selectedimage", ImageNeed::FirstFrame}, {L"hotimage", ImageNeed::OnInput},
        {L"pushedimage", ImageNeed::OnInput},      {L"focusedimage", ImageNeed::OnInput},
        {L"disabledimage", ImageNeed::OnInput},    {L"selectedhotimage", ImageNeed::OnInput},
    };
    for (const Known& known : kImages) {
        if (known.name == attribute) {
            return known.need;
        }
    }
    return std::nullopt;
}
