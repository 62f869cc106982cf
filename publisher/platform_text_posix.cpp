// The text conversions on systems whose file names are bytes (taken as UTF-8), through the C
// library's iconv, whose CP936 table equals that of Windows outside the private-use area.
#include "publisher/platform_text.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>

namespace {

// One conversion descriptor per direction and thread: iconv descriptors keep state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) {
            ::iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The whole input converted; nothing when a part of it has no conversion.
    template <typename Out, typename In>
    std::optional<Out> convert(const In* data, std::size_t count) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            return std::nullopt;
        }
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(reinterpret_cast<const char*>(data));
        std::size_t inLeft = count * sizeof(In);
        Out out;
        char buffer[1024];
        while (true) {
            char* next = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = ::iconv(cd_, inLeft > 0 ? &in : nullptr, &inLeft, &next, &outLeft);
            append(out, buffer, static_cast<std::size_t>(next - buffer));
            if (result != static_cast<std::size_t>(-1)) {
                if (inLeft == 0) {
                    return out;
                }
                continue;
            }
            if (errno != E2BIG) {
                return std::nullopt;  // no conversion for a character, or an incomplete sequence
            }
        }
    }

private:
    static void append(std::string& out, const char* bytes, std::size_t n) { out.append(bytes, n); }
    static void append(std::wstring& out, const char* bytes, std::size_t n) {
        out.append(reinterpret_cast<const wchar_t*>(bytes), n / sizeof(wchar_t));
    }

    iconv_t cd_;
};

bool isPrivateUse(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return (u >= 0xE000 && u <= 0xF8FF) || u >= 0xF0000;
}

bool isSurrogate(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return u >= 0xD800 && u <= 0xDFFF;
}

}  // namespace

std::optional<std::string> encodeCodePage936(std::wstring_view text) {
    thread_local Converter toCp936("CP936", "WCHAR_T");
    thread_local Converter fromCp936("WCHAR_T", "CP936");
    for (wchar_t c : text) {
        if (isPrivateUse(c) || isSurrogate(c) || c == L'\0') {
            return std::nullopt;
        }
    }
    std::optional<std::string> bytes = toCp936.convert<std::string>(text.data(), text.size());
    if (!bytes) {
        return std::nullopt;
    }
    // Only a form that reads back as the same text carries the name.
    const std::optional<std::wstring> back = fromCp936.convert<std::wstring>(bytes->data(), bytes->size());
    if (!back || *back != text) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::wstring> decodeCodePage936(std::string_view bytes) {
    thread_local Converter fromCp936("WCHAR_T", "CP936");
    return fromCp936.convert<std::wstring>(bytes.data(), bytes.size());
}

std::optional<std::wstring> pathText(const std::filesystem::path& path) {
    thread_local Converter fromUtf8("WCHAR_T", "UTF-8");
    const std::string& bytes = path.native();
    std::optional<std::wstring> text = fromUtf8.convert<std::wstring>(bytes.data(), bytes.size());
    if (text) {
        for (wchar_t c : *text) {
            if (isSurrogate(c) || c == L'\0') {
                return std::nullopt;
            }
        }
    }
    return text;
}

std::filesystem::path textPath(std::wstring_view text) {
    return std::filesystem::path(utf8Text(text));
}

std::string utf8Text(std::wstring_view text) {
    std::string out;
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring foldCase(std::wstring_view text) {
    // The Unicode case mappings of the C library's built-in UTF-8 locale, whatever locale the
    // process runs in; plain ASCII where that locale is missing.
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    std::wstring folded(text);
    for (wchar_t& c : folded) {
        if (utf8 != static_cast<locale_t>(nullptr)) {
            c = static_cast<wchar_t>(::towupper_l(static_cast<wint_t>(c), utf8));
        } else if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return folded;
}
