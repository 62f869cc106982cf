#include "update/version_number.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(VersionNumber, ComparesAsDecimalFractions) {
    EXPECT_LT(readVersionNumber(L"1.10"), readVersionNumber(L"1.9"));
    EXPECT_EQ(readVersionNumber(L"1.10"), readVersionNumber(L"1.1"));
    EXPECT_GT(readVersionNumber(L"1.26"), readVersionNumber(L"1.25"));
}

}  // namespace
