#include "publisher/command_line.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> args(std::initializer_list<const char8_t*> texts) {
    std::vector<fs::path> list;
    for (const char8_t* text : texts) {
        list.emplace_back(text);
    }
    return list;
}

TEST(CommandLine, ReadsEveryOption) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parseCommandLine(
        args({u8"--version", u8"1.26", u8"--patch", u8"1.26=out/p=1.pak", u8"--patch", u8"1.27=\u8865\u4E01.pak",
              u8"--list-prefix", u8"Test_mainfold", u8"--base-url", u8"http://update.example.com/lobbex", u8"--keep",
              u8"5", u8"--quiet", u8"\u53D1\u5E03", u8"site"}),
        line, error))
        << error;
    EXPECT_EQ(line.request.version, L"1.26");
    ASSERT_EQ(line.request.patches.size(), 2u);
    EXPECT_EQ(line.request.patches[0].version, L"1.26");
    EXPECT_EQ(line.request.patches[0].file, fs::path(u8"out/p=1.pak")) << "split at the first \"=\"";
    EXPECT_EQ(line.request.patches[1].file, fs::path(u8"\u8865\u4E01.pak"));
    EXPECT_EQ(line.request.listPrefix, L"Test_mainfold");
    EXPECT_EQ(line.request.baseUrl, L"http://update.example.com/lobbex");
    EXPECT_EQ(line.request.keepReleases, 5);
    EXPECT_TRUE(line.quiet);
    EXPECT_FALSE(line.checkOnly);
    EXPECT_EQ(line.request.releaseFolder, fs::path(u8"\u53D1\u5E03"));
    EXPECT_EQ(line.request.siteFolder, fs::path(u8"site"));
}

TEST(CommandLine, DefaultsKeepTwoReleasesAndNoPrefix) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parseCommandLine(args({u8"rel", u8"--check", u8"site", u8"--version", u8"2"}), line, error));
    EXPECT_EQ(line.request.keepReleases, 2);
    EXPECT_TRUE(line.request.listPrefix.empty());
    EXPECT_TRUE(line.request.baseUrl.empty());
    EXPECT_TRUE(line.checkOnly);
}

TEST(CommandLine, RefusesWhatMakesNoSense) {
    const std::pair<std::vector<fs::path>, std::string> cases[] = {
        {args({u8"rel", u8"site"}), "give the release's version with --version"},
        {args({u8"--version", u8"1", u8"rel"}), "give the release folder and the site folder"},
        {args({u8"--version", u8"1", u8"a", u8"b", u8"c"}), "give the release folder and the site folder"},
        {args({u8"rel", u8"site", u8"--version"}), "--version needs a value"},
        {args({u8"--version", u8"1", u8"--patch", u8"p.pak", u8"a", u8"b"}), "--patch needs VERSION=FILE"},
        {args({u8"--version", u8"1", u8"--patch", u8"1.2=", u8"a", u8"b"}), "--patch needs VERSION=FILE"},
        {args({u8"--version", u8"1", u8"--keep", u8"-1", u8"a", u8"b"}), "--keep needs a number of releases"},
        {args({u8"--version", u8"1", u8"--keep", u8"", u8"a", u8"b"}), "--keep needs a number of releases"},
        {args({u8"--version", u8"1", u8"--force", u8"a", u8"b"}), "unknown option --force"},
    };
    for (const auto& [arguments, message] : cases) {
        CommandLine line;
        line.request.version = L"untouched";
        std::string error;
        EXPECT_FALSE(parseCommandLine(arguments, line, error)) << message;
        EXPECT_EQ(error, message);
        EXPECT_EQ(line.request.version, L"untouched");
    }
}

TEST(CommandLine, HelpNeedsNothingElse) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parseCommandLine(args({u8"--help"}), line, error));
    EXPECT_TRUE(line.help);
}

}  // namespace
