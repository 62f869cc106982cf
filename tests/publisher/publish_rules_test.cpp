#include "publisher/publish_rules.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    std::wstring name;
    RefusalKind kind;
    std::string reason;
};

std::string show(const std::wstring& text) {
    std::string shown;
    for (wchar_t c : text) {
        shown += c < 0x80 ? std::string(1, static_cast<char>(c)) : "\\u" + std::to_string(static_cast<unsigned>(c));
    }
    return shown;
}

TEST(PublishRules, RefusesNamesTheListOrTheLauncherCannotCarry) {
    const std::string windows = ", which Windows file names cannot hold";
    const std::string url = ": the launcher requests files by URLs it does not escape, where ";
    const std::string device = " names a device on Windows; no file can have that name";
    const std::string cp936 = ", which code page 936 cannot represent; the launcher reads list paths in it";
    const NameCase cases[] = {
        {L"", RefusalKind::NotWindowsName, "a name cannot be empty"},
        {L"a,b.txt", RefusalKind::Comma,
         "a comma cannot be carried in the list: its fields end at commas and it has no quoting"},
        {L"a:b.txt", RefusalKind::NotWindowsName, "the name holds \":\" (U+003A)" + windows},
        {L"a\\b.txt", RefusalKind::NotWindowsName, "the name holds \"\\\" (U+005C)" + windows},
        {L"a|b", RefusalKind::NotWindowsName, "the name holds \"|\" (U+007C)" + windows},
        {L"a*", RefusalKind::NotWindowsName, "the name holds \"*\" (U+002A)" + windows},
        {L"tab\there", RefusalKind::NotWindowsName, "the name holds U+0009" + windows},
        {L"a#b.txt", RefusalKind::UrlCharacter, "the name holds \"#\" (U+0023)" + url + "\"#\" ends the path"},
        {L"100%.txt", RefusalKind::UrlCharacter, "the name holds \"%\" (U+0025)" + url + "\"%\" starts an escape"},
        {L"readme.", RefusalKind::TrailingDotOrBlank, "the name ends in a dot, which Windows drops from file names"},
        {L"readme ", RefusalKind::TrailingDotOrBlank, "the name ends in a blank, which Windows drops from file names"},
        {L"...", RefusalKind::TrailingDotOrBlank, "the name ends in a dot, which Windows drops from file names"},
        {L"nul.txt", RefusalKind::DeviceName, "\"nul.txt\"" + device},
        {L"CON", RefusalKind::DeviceName, "\"CON\"" + device},
        {L"Com1.log", RefusalKind::DeviceName, "\"Com1.log\"" + device},
        {L"lpt9", RefusalKind::DeviceName, "\"lpt9\"" + device},
        {L"aux .dat", RefusalKind::DeviceName, "\"aux .dat\"" + device},
        {L"CONOUT$", RefusalKind::DeviceName, "\"CONOUT$\"" + device},
        {L"\uD55C.txt", RefusalKind::NotCodePage936, "the name holds \"\uD55C\" (U+D55C)" + cp936},  // Hangul
        {L"\uE000.txt", RefusalKind::NotCodePage936, "the name holds \"\uE000\" (U+E000)" + cp936},  // private use
        // 乗 is 81 5C in code page 936, and the launcher turns 5C into "/" in the URL.
        {L"\u4E57.txt", RefusalKind::BackslashByte,
         "the name holds \"\u4E57\" (U+4E57), whose code page 936 form contains the byte of \"\\\"; the launcher "
         "turns that byte into \"/\" when it requests the file"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(show(c.name));
        Refusal refusal{RefusalKind::NothingToPublish, "", ""};
        ASSERT_FALSE(checkName(c.name, "x/y", refusal));
        EXPECT_EQ(refusal.kind, c.kind);
        EXPECT_EQ(refusal.subject, "x/y");
        EXPECT_EQ(refusal.reason, c.reason);
    }
}

TEST(PublishRules, AcceptsNamesWindowsAndTheLauncherTakeAsTheyAre) {
    const std::wstring names[] = {
        L"\u8BF4\u660E (\u7B2C1\u7248) [x]{y}+&;=!~@$'^`.txt",  // 说明 (第1版) ...: URL characters WinINet sends
        L".hidden",
        L"\u20AC.txt",                // € is the one byte 80
        L"\u4E85\u4E55\u4E63\u4E84",  // second bytes "|", "[", "`" and "{"
        L"COM0",
        L"COM10",
        L"console.txt",
        L"nul_",
        L"a..b",
        L" lead",
    };
    for (const std::wstring& name : names) {
        Refusal refusal{RefusalKind::NothingToPublish, "", ""};
        EXPECT_TRUE(checkName(name, "x", refusal)) << show(name) << ": " << refusal.reason;
    }
}

TEST(PublishRules, ListPathsJoinTheirPartsWithBackslashesInCodePage936) {
    ListPathForm form;
    Refusal refusal{RefusalKind::NothingToPublish, "", ""};
    ASSERT_TRUE(formListPath({L"Test_mainfold", L"\u6570\u636E", L"\u8BF4\u660E.txt"}, "x", form, refusal));
    EXPECT_EQ(form.text, L"Test_mainfold\\\u6570\u636E\\\u8BF4\u660E.txt");
    EXPECT_EQ(form.bytes, "Test_mainfold\\\xCA\xFD\xBE\xDD\\\xCB\xB5\xC3\xF7.txt");
}

// Lengths count characters, as the launcher's 260-unit fields do, not code page 936 bytes.
TEST(PublishRules, ListPathsOfUpTo259CharactersFit) {
    const std::wstring folder(100, L'\u6587');
    const std::vector<std::wstring> fits = {folder, folder, std::wstring(57, L'f')};
    ListPathForm form;
    Refusal refusal{RefusalKind::NothingToPublish, "", ""};
    ASSERT_TRUE(formListPath(fits, "x", form, refusal)) << refusal.reason;
    EXPECT_EQ(form.text.size(), 259u);

    const ListPathForm before = form;
    ASSERT_FALSE(formListPath({folder, folder, std::wstring(58, L'f')}, "a/b", form, refusal));
    EXPECT_EQ(refusal.kind, RefusalKind::TooLong);
    EXPECT_EQ(refusal.subject, "a/b");
    EXPECT_EQ(refusal.reason, "the list path is 260 characters long; the launcher takes at most 259");
    EXPECT_EQ(form.text, before.text) << "a refused path leaves the form untouched";
}

TEST(PublishRules, AnyRefusedPartRefusesTheListPath) {
    ListPathForm form;
    Refusal refusal{RefusalKind::NothingToPublish, "", ""};
    EXPECT_FALSE(formListPath({L"Test_mainfold", L"a,b", L"c.txt"}, "a,b/c.txt", form, refusal));
    EXPECT_EQ(refusal.kind, RefusalKind::Comma);
    EXPECT_TRUE(form.text.empty());
}

struct VersionCase {
    std::wstring version;
    bool accepted;
    std::string reasonOrWarning;  // the refusal's reason, or the one warning ("" for none)
};

TEST(PublishRules, VersionsMustBeginWithANumber) {
    const std::string notANumber =
        " does not begin with a number; the launcher would read it as 0. Write a decimal number such as 1.26";
    const VersionCase cases[] = {
        {L"1.26", true, ""},
        {L"2", true, ""},
        {L".5", true, ""},
        {L" 1.0", true, ""},
        {L"1.2.3", true, "--version: the launcher reads the version \"1.2.3\" as the number 1.2 and ignores \".3\""},
        {L"1.26 beta", true,
         "--version: the launcher reads the version \"1.26 beta\" as the number 1.26 and ignores \" beta\""},
        {L"1e99", true, "--version: the version \"1e99\" is too large for the launcher, which reads it as infinity"},
        {L"abc", false, "the version \"abc\"" + notANumber},
        {L"", false, "the version \"\"" + notANumber},
        {L"v1.26", false, "the version \"v1.26\"" + notANumber},
        {L".", false, "the version \".\"" + notANumber},
        {L"1,26", false, "a version is written in printable ASCII characters without commas, not \",\" (U+002C)"},
        {L"1.0\u7248", false,
         "a version is written in printable ASCII characters without commas, not \"\u7248\" (U+7248)"},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(show(c.version));
        Refusal refusal{RefusalKind::NothingToPublish, "", ""};
        std::vector<std::string> warnings;
        EXPECT_EQ(checkVersionText(c.version, "--version", refusal, warnings), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(warnings, c.reasonOrWarning.empty() ? std::vector<std::string>{}
                                                          : std::vector<std::string>{c.reasonOrWarning});
        } else {
            EXPECT_EQ(refusal.reason, c.reasonOrWarning);
            EXPECT_EQ(refusal.subject, "--version");
        }
    }
}

}  // namespace
