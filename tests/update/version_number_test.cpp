#include "update/version_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(VersionNumber, ReadsLikeFormattedInputOfAFloat) {
    const std::pair<std::wstring, float> cases[] = {
        {L"1.25", 1.25f}, {L"1.10", 1.1f}, {L"1.2.3", 1.2f}, {L"  2.0", 2.0f},     {L"+3", 3.0f},    {L"-1.5", -1.5f},
        {L"1.", 1.0f},    {L".5", 0.5f},   {L"1e2", 100.0f}, {L"1e", 1.0f},        {L"1.5x", 1.5f},  {L"", 0.0f},
        {L"abc", 0.0f},   {L".", 0.0f},    {L"-", 0.0f},     {L"1e99", HUGE_VALF}, {L"1e-99", 0.0f},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(readVersionNumber(text), value) << std::string(text.begin(), text.end());
    }
}

// The length of the number is what the reading takes: reading just that part gives the same
// value, and a text without one reads as 0.
TEST(VersionNumber, LengthIsWhatTheReadingTakes) {
    const std::pair<std::wstring, std::size_t> cases[] = {
        {L"1.26", 4}, {L"1.10", 4}, {L"1.2.3", 3}, {L"  2.0", 5}, {L"+3", 2},    {L"-1.5", 4}, {L"1.", 2},
        {L".5", 2},   {L"1e2", 3},  {L"1e", 1},    {L"1e+", 1},   {L"1E-2x", 4}, {L"1.5x", 3}, {L"", 0},
        {L"abc", 0},  {L".", 0},    {L"-", 0},     {L"+.", 0},    {L" \t", 0},   {L"1e99", 4}, {L"0", 1},
    };
    for (const auto& [text, length] : cases) {
        const std::string shown(text.begin(), text.end());
        EXPECT_EQ(versionNumberLength(text), length) << shown;
        EXPECT_EQ(readVersionNumber(text.substr(0, length)), readVersionNumber(text)) << shown;
        if (length == 0) {
            EXPECT_EQ(readVersionNumber(text), 0.0f) << shown;
        }
    }
}

TEST(VersionNumber, LongNumbersAreReadWhole) {
    // Seventy digits are a number of seventy digits, not one cut to a buffer's size.
    EXPECT_EQ(readVersionNumber(std::wstring(70, L'1') + L"e-60"), std::stof(std::string(70, '1') + "e-60"));
    EXPECT_EQ(readVersionNumber(L"0." + std::wstring(80, L'0') + L"5e80"), 0.5f);
}

TEST(VersionNumber, ComparesAsDecimalFractions) {
    EXPECT_LT(readVersionNumber(L"1.10"), readVersionNumber(L"1.9"));
    EXPECT_EQ(readVersionNumber(L"1.10"), readVersionNumber(L"1.1"));
    EXPECT_GT(readVersionNumber(L"1.26"), readVersionNumber(L"1.25"));
}

}  // namespace
