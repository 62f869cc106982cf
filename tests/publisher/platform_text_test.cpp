#include "publisher/platform_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "identity/md5.h"

namespace {

TEST(PlatformText, EncodesCodePage936AsWindowsDoes) {
    const std::pair<std::wstring, std::string> cases[] = {
        {L"", ""},
        {L"abc\\", "abc\\"},
        {L"\u4E2D\u6587", "\xD6\xD0\xCE\xC4"},  // 中文
        {L"\u20AC", "\x80"},                    // € is a single byte in Windows' table
        {L"\u00B7", "\xA1\xA4"},
        {L"\u00E9", "\xA8\xA6"},  // pinyin é
        {L"\u4E57", "\x81\x5C"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(encodeCodePage936(text), std::optional<std::string>(bytes));
        EXPECT_EQ(decodeCodePage936(bytes), std::optional<std::wstring>(text));
    }
}

TEST(PlatformText, RefusesWhatCodePage936DoesNotCarryBackUnchanged) {
    const std::wstring texts[] = {
        L"\uD55C",  // Hangul
        L"\uE000",
        L"\uF8F5",  // private use: Windows gives them bytes that others read differently
        std::wstring(L"a\0b", 3),
    };
    for (const std::wstring& text : texts) {
        EXPECT_EQ(encodeCodePage936(text), std::nullopt);
    }
    EXPECT_EQ(decodeCodePage936("\x81"), std::nullopt) << "a lead byte without its second byte";
}

// The whole table of the Basic Multilingual Plane, digested: the Windows build (WideCharToMultiByte)
// and the native one (the C library's iconv) must give the very same bytes for every character.
TEST(PlatformText, CodePage936TableIsTheSameOnEveryBuild) {
    Md5 md5;
    std::size_t encoded = 0;
    for (std::uint32_t c = 1; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const wchar_t text[1] = {static_cast<wchar_t>(c)};
        const std::optional<std::string> bytes = encodeCodePage936(std::wstring_view(text, 1));
        if (!bytes) {
            continue;
        }
        ++encoded;
        char line[32];
        int n = std::snprintf(line, sizeof line, "%04X", static_cast<unsigned>(c));
        for (char b : *bytes) {
            n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), " %02X",
                               static_cast<unsigned>(static_cast<unsigned char>(b)));
        }
        line[n++] = '\n';
        md5.update(line, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(encoded, 21919u);
    EXPECT_EQ(digestText(md5.finish()), L"669745ADF42FF0F8136370FD405697C2");
}

TEST(PlatformText, FoldsCaseAsWindowsComparesNames) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"readme.Txt", L"README.TXT"},
        {L"\u03B1\u03C9", L"\u0391\u03A9"},  // Greek
        {L"\u044F", L"\u042F"},              // Cyrillic
        {L"\uFF41", L"\uFF21"},              // full-width Latin
        {L"\u8BF4\u660E1", L"\u8BF4\u660E1"},
    };
    for (const auto& [text, folded] : cases) {
        EXPECT_EQ(foldCase(text), folded);
    }
}

TEST(PlatformText, NamesRoundTripThroughPaths) {
    const std::wstring name = L"\u8BF4\u660E (1).txt";
    EXPECT_EQ(pathText(textPath(name)), std::optional<std::wstring>(name));
    EXPECT_EQ(utf8Text(name), "\xE8\xAF\xB4\xE6\x98\x8E (1).txt");
#ifndef _WIN32
    EXPECT_EQ(pathText(std::filesystem::path("a\xFF.txt")), std::nullopt) << "not UTF-8";
    EXPECT_EQ(pathText(std::filesystem::path("\xED\xA0\x80")), std::nullopt) << "an encoded surrogate";
#endif
}

}  // namespace
