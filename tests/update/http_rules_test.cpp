#include "update/http_rules.h"
#include "update/progress.h"
#include "update/read_pacing.h"

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

TEST(HttpRules, ContentRange) {
    const std::optional<ContentRange> known = parseContentRange(L"bytes 100-199/200");
    ASSERT_TRUE(known.has_value());
    EXPECT_EQ(known->first, 100u);
    EXPECT_EQ(known->last, 199u);
    EXPECT_EQ(known->total, 200u);
    const std::optional<ContentRange> open = parseContentRange(L"bytes 0-0/*");
    ASSERT_TRUE(open.has_value());
    EXPECT_FALSE(open->total.has_value());
    for (std::wstring_view refused : {L"", L"bytes */200", L"items 0-1/2", L"bytes 5-4/10", L"bytes 0-9/9",
                                      L"bytes 0-9/10x", L"bytes -9/10", L"bytes 0-/10"}) {
        EXPECT_FALSE(parseContentRange(refused).has_value()) << std::string(refused.begin(), refused.end());
    }
}

TEST(HttpRules, ResumeHeadersAndValidators) {
    EXPECT_EQ(resumeHeaders(1000, L""), L"Range: bytes=1000-\r\n");
    EXPECT_EQ(resumeHeaders(5, L"\"abc\""), L"Range: bytes=5-\r\nIf-Range: \"abc\"\r\n");
    EXPECT_EQ(rangeValidator(L"\"abc\"", L"Tue, 01 Dec 2026 10:00:00 GMT"), L"\"abc\"");
    EXPECT_EQ(rangeValidator(L"W/\"abc\"", L"Tue, 01 Dec 2026 10:00:00 GMT"), L"Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(rangeValidator(L"W/\"abc\"", L""), L"");
}

TEST(HttpRules, WhatAnAnswerToAResumedRequestMeans) {
    const ContentRange rest{1000, 4999, 5000};
    const ContentRange other{0, 4999, 5000};
    struct Case {
        std::uint32_t status;
        std::uint64_t offset;
        std::optional<ContentRange> range;
        ResumeAnswer answer;
    };
    const Case cases[] = {
        {206, 1000, rest, ResumeAnswer::Append},
        {206, 1000, other, ResumeAnswer::AskWhole},  // another start: never appended at 1000
        {206, 1000, std::nullopt, ResumeAnswer::AskWhole},
        {206, 0, other, ResumeAnswer::AskWhole},         // a range nobody asked for
        {200, 1000, std::nullopt, ResumeAnswer::Whole},  // ranges ignored, or If-Range did not match
        {200, 0, std::nullopt, ResumeAnswer::Whole},
        {416, 1000, std::nullopt, ResumeAnswer::AskWhole},
        {416, 0, std::nullopt, ResumeAnswer::Failed},
        {404, 1000, std::nullopt, ResumeAnswer::Failed},
        {503, 0, std::nullopt, ResumeAnswer::Failed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resumeAnswer(c.status, c.offset, c.range), c.answer) << c.status << " from " << c.offset;
    }
}

TEST(HttpRules, WhatBecomesOfADownloadLeftBefore) {
    EXPECT_EQ(keptDownload(0, 100), KeptDownload::Continue);
    EXPECT_EQ(keptDownload(99, 100), KeptDownload::Continue);
    EXPECT_EQ(keptDownload(100, 100), KeptDownload::Verify);  // asking for its rest would get a 416
    EXPECT_EQ(keptDownload(0, 0), KeptDownload::Verify);
    EXPECT_EQ(keptDownload(101, 100), KeptDownload::Discard);
}

// Reads grow while they come back at once and shrink when they wait long, within bounds.
TEST(ReadPacing, ReadsGrowOnAFastNetworkAndShrinkOnASlowOne) {
    std::uint32_t size = kFirstReadBytes;
    for (int i = 0; i < 20; ++i) {
        size = nextReadBytes(size, 1);
    }
    EXPECT_EQ(size, kMaxReadBytes);
    EXPECT_EQ(nextReadBytes(kMaxReadBytes, 60), kMaxReadBytes) << "a read of moderate length keeps its size";
    for (int i = 0; i < 20; ++i) {
        size = nextReadBytes(size, 500);
    }
    EXPECT_EQ(size, kMinReadBytes);
    EXPECT_EQ(nextReadBytes(kMinReadBytes + 1, 500), kMinReadBytes);
    EXPECT_EQ(nextReadBytes(kMaxReadBytes - 1, 0), kMaxReadBytes);
}

TEST(ProgressPacer, ChangedValuesAtMostEveryIntervalForcedOnesWheneverTheyChange) {
    ProgressPacer pacer;
    EXPECT_TRUE(pacer.due(1000, 0));                         // the first value always goes
    EXPECT_FALSE(pacer.due(1000 + kProgressIntervalMs, 0));  // unchanged
    EXPECT_FALSE(pacer.due(1001, 5));                        // too soon
    EXPECT_TRUE(pacer.due(1000 + kProgressIntervalMs, 5));
    EXPECT_TRUE(pacer.due(1000 + kProgressIntervalMs + 1, 9, true));
    EXPECT_FALSE(pacer.due(1000 + kProgressIntervalMs + 2, 9, true)) << "a forced value that did not change";
    EXPECT_FALSE(pacer.due(1000 + kProgressIntervalMs + 3, 10));
    EXPECT_TRUE(pacer.due(1000 + 2 * kProgressIntervalMs + 1, 10));
}

}  // namespace
