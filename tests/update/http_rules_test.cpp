#include "update/http_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(HttpRules, OnlyTwoHundredsCarryTheFile) {
    for (std::uint32_t status : {200u, 203u, 206u, 299u}) {
        EXPECT_TRUE(isSuccessStatus(status)) << status;
    }
    for (std::uint32_t status : {0u, 100u, 199u, 300u, 304u, 404u, 416u, 503u}) {
        EXPECT_FALSE(isSuccessStatus(status)) << status;
    }
}

TEST(HttpRules, ContentLength) {
    EXPECT_EQ(parseContentLength(L"0"), 0u);
    EXPECT_EQ(parseContentLength(L" 1048576 "), 1048576u);
    EXPECT_EQ(parseContentLength(L"18446744073709551615"), UINT64_MAX);
    for (std::wstring_view refused : {L"", L" ", L"-1", L"+5", L"12, 12", L"0x10", L"18446744073709551616"}) {
        EXPECT_FALSE(parseContentLength(refused).has_value()) << std::string(refused.begin(), refused.end());
    }
}

TEST(HttpRules, UrlBytesAreEscapedBeyondPlainAscii) {
    EXPECT_EQ(escapeUrlBytes("http://127.0.0.1:8080/GameClient/bin/a.dll"),
              "http://127.0.0.1:8080/GameClient/bin/a.dll");
    // A code page 936 character whose second byte is that of "\": no code page on the way can
    // take it for a separator.
    EXPECT_EQ(escapeUrlBytes("/GameClient/\x81\x5C.txt"), "/GameClient/%81%5C.txt");
    EXPECT_EQ(escapeUrlBytes("/\xCA\xFD\xBE\xDD/a b\x7F\x01"), "/%CA%FD%BE%DD/a%20b%7F%01");
    EXPECT_EQ(escapeUrlBytes("/a\"<>^`{|}"), "/a%22%3C%3E%5E%60%7B%7C%7D");
    // Escapes and the query of the base URL stay as they are.
    EXPECT_EQ(escapeUrlBytes("/a%20b?x=1#f"), "/a%20b?x=1#f");
}

}  // namespace
