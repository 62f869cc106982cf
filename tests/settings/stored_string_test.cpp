#include "settings/stored_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring scramble(std::wstring_view text, std::uint16_t maskStep = 0x1234, wchar_t pad = L'7') {
    return EncodeStoredString(text, maskStep, pad);
}

std::wstring decode(std::wstring_view text, std::uint16_t capacity, bool* ok) {
    wchar_t out[80];
    std::fill(std::begin(out), std::end(out), L'#');
    *ok = DecodeStoredString(text, out, capacity);
    return out;
}

TEST(DecodeStoredString, DecodesTheAbcExample) {
    const std::wstring text = L"000300621234125600FF009C" + std::wstring(40, L'0');
    ASSERT_EQ(text.size(), 64u);
    bool ok = false;
    EXPECT_EQ(decode(text, 33, &ok), L"abc");
    EXPECT_TRUE(ok);
}

TEST(EncodeStoredString, WritesTheLengthFirstAndWholeBlocks) {
    const std::wstring text = EncodeStoredString(L"abc");
    ASSERT_EQ(text.size(), 64u);
    EXPECT_EQ(text.substr(0, 16), L"0003006212341256") << "the length as first mask, then step 0x1234";
    EXPECT_EQ(text.substr(24), std::wstring(40, L'0'));
    EXPECT_EQ(EncodeStoredString(std::wstring(9, L'x')).size(), 128u);
}

TEST(DecodeStoredString, IgnoresLetterCaseOfTheDigits) {
    bool ok = false;
    EXPECT_EQ(decode(L"000300621234125600ff009c" + std::wstring(40, L'e'), 33, &ok), L"abc");
    EXPECT_TRUE(ok);
}

TEST(DecodeStoredString, RoundTripsPasswordsUpToTheCapacity) {
    const std::wstring cases[] = {L"a", L"secret12", L"ninechars", L"\u5BC6\u7801Pass!", std::wstring(32, L'x')};
    for (const auto& password : cases) {
        bool ok = false;
        const std::wstring text = scramble(password);
        EXPECT_EQ(decode(text, 33, &ok), password);
        EXPECT_TRUE(ok);
    }
    EXPECT_EQ(scramble(std::wstring(32, L'x')).size(), 256u);
}

TEST(DecodeStoredString, RefusesBadTextsWithAnEmptyResult) {
    struct Case {
        const char* what;
        std::wstring text;
        std::uint16_t capacity;
    };
    const std::wstring abc = L"000300621234125600FF009C" + std::wstring(40, L'0');
    const Case cases[] = {
        {"63 characters", abc.substr(0, 63), 33},
        {"count 9 in 64 characters", L"0009" + abc.substr(4), 33},
        {"count 0", L"0000" + abc.substr(4), 33},
        {"33 characters with capacity 33", scramble(std::wstring(33, L'y')), 33},
        {"3 characters with capacity 3", abc, 3},
        {"65 characters", abc + L"0", 33},
        {"not hexadecimal in a group", L"00030062123G125600FF009C" + std::wstring(40, L'0'), 33},
        {"not hexadecimal in the count", L"0x03" + abc.substr(4), 33},
        {"length that wraps to 64 at 16 bits", abc + std::wstring(65536, L'0'), 33},
    };
    for (const auto& c : cases) {
        bool ok = true;
        EXPECT_EQ(decode(c.text, c.capacity, &ok), L"") << c.what;
        EXPECT_FALSE(ok) << c.what;
    }
}

TEST(DecodeStoredString, FitsExactlyWhenCountPlusTerminatorEqualsCapacity) {
    bool ok = false;
    const std::wstring text = L"000300621234125600FF009C" + std::wstring(40, L'0');
    EXPECT_EQ(decode(text, 4, &ok), L"abc");
    EXPECT_TRUE(ok);
}

TEST(DecodeStoredString, NeverWritesPastSixtyFourCharacters) {
    // A capacity above the documented limit counts as the limit: 64 characters never fit.
    bool ok = true;
    EXPECT_EQ(decode(scramble(std::wstring(64, L'z')), 80, &ok), L"");
    EXPECT_FALSE(ok);
    EXPECT_EQ(decode(scramble(std::wstring(63, L'z')), 80, &ok), std::wstring(63, L'z'));
    EXPECT_TRUE(ok);
}

TEST(DecodeStoredString, WritesNothingWithoutRoom) {
    wchar_t out = L'#';
    EXPECT_FALSE(DecodeStoredString(L"", &out, 0));
    EXPECT_EQ(out, L'#');
}

}  // namespace
