#include "identity/text_digest.h"

#include <gtest/gtest.h>

namespace {

// Only the first N bytes of the UTF-16LE form are digested, N being the number of units.
TEST(TextDigest, DigestsAsManyBytesAsTheTextHasUnits) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"abc", L"70350F6027BCE3713F6B76473084309B"},     // 61 00 62
        {L"a", L"0CC175B9C0F1B6A831C399E269772661"},       // 61
        {L"\u4E2D", L"336D5EBC5436534E61D16E63DDFCA327"},  // 2D
        {L"", L""},                                        // no digest at all
    };
    for (const auto& [text, digest] : cases) {
        EXPECT_EQ(textDigest(text), digest);
    }
}

// The identifier units 0030 0030 ABCD 1234 0D0C 0F0E ... give the bytes
// 30 00 30 00 CD AB 34 12 0C 0D 0E 0F.
TEST(TextDigest, TakesUnitsLowByteFirst) {
    const std::wstring identifier = {
        L'0', L'0', wchar_t(0xABCD), wchar_t(0x1234), wchar_t(0x0D0C), wchar_t(0x0F0E), L'3', L'C', L'4', L'D',
        L'5', L'E'};
    EXPECT_EQ(textDigest(identifier), L"34AD0FB3F36271EB8099716C4FD261BF");
}

}  // namespace
