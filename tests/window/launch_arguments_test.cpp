#include "window/launch_arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchArguments, TextsFieldByField) {
    const std::pair<std::optional<std::wstring>, std::wstring> cases[] = {
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
    };
    for (const auto& [text, expected] : cases) {
        ASSERT_TRUE(text.has_value()) << expected;
        EXPECT_EQ(*text, expected);
    }
}

// The format has no quoting: a string holding the separator would shift the lobby client's
// fields ("a|b" read as two), so it gives no text, whichever field it is in.
TEST(LaunchArguments, AStringHoldingTheSeparatorGivesNoText) {
    EXPECT_FALSE(accountLogonArguments(L"play|er", L"secret", true));
    EXPECT_FALSE(accountLogonArguments(L"player", L"sec|ret", true));
    EXPECT_FALSE(registrationArguments(L"new|bie", L"password1", true, L"nickname", true));
    EXPECT_FALSE(registrationArguments(L"newbie", L"pass|word", true, L"nickname", true));
    EXPECT_FALSE(registrationArguments(L"newbie", L"password1", true, L"nick|name", true));
    EXPECT_FALSE(webLogonArguments(kLogonWithQQ, L"a|b", L"c"));
    EXPECT_FALSE(webLogonArguments(kLogonWithQQ, L"a", L"|"));
    EXPECT_TRUE(fitsArgumentField(L"\u6635\u79F0\uFF5C"));  // the full-width bar is another character
    EXPECT_FALSE(fitsArgumentField(L"|"));
}

}  // namespace
