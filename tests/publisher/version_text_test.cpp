#include "publisher/version_text.h"

#include <gtest/gtest.h>

#include "update/version_number.h"

namespace {

// The length of the number is what the launcher's reading takes: reading just that part gives
// the same value, and a text without one reads as 0.
TEST(VersionText, NumberLengthIsWhatTheLaunchersReadingTakes) {
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

}  // namespace
