#include "registration/field_rules.h"

#include <gtest/gtest.h>

namespace {

std::string narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}

TEST(FieldRules, AccountName) {
    const std::pair<std::wstring, AccountNameCheck> cases[] = {
        {L"12345", AccountNameCheck::BadLength},
        {L"abcde", AccountNameCheck::BadLength},
        {L"123456", AccountNameCheck::OnlyDigits},
        {L"12345a", AccountNameCheck::Valid},
        {L"\u4E2D\u6587\u8D26\u53F7ab", AccountNameCheck::Valid},
        {std::wstring(18, L'a'), AccountNameCheck::Valid},
        {std::wstring(19, L'a'), AccountNameCheck::BadLength},
        {std::wstring(18, L'7'), AccountNameCheck::OnlyDigits},
        {L"", AccountNameCheck::BadLength},
    };
    for (const auto& [text, result] : cases) {
        EXPECT_EQ(checkAccountName(text), result) << narrow(text);
    }
}

TEST(FieldRules, NicknameCountsChineseCharactersTwice) {
    const std::pair<std::wstring, std::size_t> lengths[] = {
        {L"abcdef", 6},     {L"\u4E2D\u6587\u6635\u79F0", 8},  // four ideographs
        {L"ab\u4E2Dcd", 6}, {L"\uFF21\uFF22\uFF23", 6},        // full-width letters
        {L"\u3002x", 3},                                       // an ideographic full stop
        {L"\uFF76", 1},                                        // half-width katakana stays narrow
        {L"\U00020000", 2},                                    // an ideograph beyond the first plane
    };
    for (const auto& [text, length] : lengths) {
        EXPECT_EQ(nicknameLength(text), length);
    }
    const std::pair<std::wstring, bool> cases[] = {
        {L"abcde", false},
        {L"abcdef", true},
        {std::wstring(16, L'n'), true},
        {std::wstring(17, L'n'), false},
        {L"\u4E2D\u6587a", false},                                      // 5
        {L"\u4E2D\u6587\u6635", true},                                  // 6
        {L"\u4E2D\u6587\u6635\u79F0\u4E2D\u6587\u6635\u79F0", true},    // 16
        {L"\u4E2D\u6587\u6635\u79F0\u4E2D\u6587\u6635\u79F0x", false},  // 17
    };
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(checkNickname(text), valid) << nicknameLength(text);
    }
}

TEST(FieldRules, Password) {
    struct Case {
        std::wstring text, first, second;
        PasswordCheck result;
    };
    const Case cases[] = {
        {L"1234567", L"1234567", L"", PasswordCheck::BadLength},
        {L"12345678", L"12345678", L"", PasswordCheck::Valid},  // the other field is empty: not compared
        {std::wstring(16, L'p'), std::wstring(16, L'p'), std::wstring(16, L'p'), PasswordCheck::Valid},
        {std::wstring(17, L'p'), std::wstring(17, L'p'), L"", PasswordCheck::BadLength},
        {L"password1", L"password1", L"Password1", PasswordCheck::Mismatch},  // letter case counts
        {L"password1", L"password1", L"password1", PasswordCheck::Valid},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkPassword(c.text, c.first, c.second), c.result) << narrow(c.text) << " / " << narrow(c.second);
    }
}

TEST(FieldRules, VerifyCode) {
    EXPECT_FALSE(checkVerifyCode(L"", L""));  // before a code exists nothing matches
    EXPECT_TRUE(checkVerifyCode(L"0042", L"0042"));
    EXPECT_FALSE(checkVerifyCode(L"0042", L"42"));
}

}  // namespace
