#include "window/launch_arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchArguments, TextsFieldByField) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {accountLogonArguments(L"player1", L"secret", true), L" 0|player1|secret|1|0"},
        {accountLogonArguments(L"player1", L"secret", false), L" 0|player1|secret|0|0"},
        {registrationArguments(L"newbie1", L"password1", true, L"\u6635\u79F0abcd", true),
         L" 2|newbie1|password1|1|\u6635\u79F0abcd|1|0"},
        {registrationArguments(L"newbie1", L"password1", false, L"nickname", false),
         L" 2|newbie1|password1|0|nickname|0|0"},
        {webLogonArguments(kLogonWithQQ, L"openid", L"token"), L" 1|openid|token|0|0"},
        {webLogonArguments(kLogonWithAccount, L"user", L"pass"), L" 0|user|pass|0|0"},
        // An empty string from a page leaves two separators side by side.
        {webLogonArguments(kLogonWithQQ, L"", L"token"), L" 1||token|0|0"},
        // Strings go in as they are: the format has no quoting.
        {webLogonArguments(kLogonWithQQ, L"a|b", L"c"), L" 1|a|b|c|0|0"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(text, expected);
    }
}

}  // namespace
