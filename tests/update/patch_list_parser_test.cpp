#include "update/patch_list_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring latin1(std::string_view bytes) {
    std::wstring text;
    for (char c : bytes) {
        text.push_back(static_cast<unsigned char>(c));
    }
    return text;
}

struct Parsed {
    std::wstring version;
    std::vector<PatchListItem> items;
};

Parsed parse(std::string_view text) {
    ListLineCursor lines(text);
    Parsed parsed;
    parsed.version = readVersionSection(lines);
    readItemSection(lines, latin1, parsed.items);
    return parsed;
}

TEST(ListLineCursor, SplitsAtLineFeedsAndDropsTheCarriageReturnBeforeThem) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},  // the last line without a line end is read
        {"a\n\nb", {"a", "", "b"}},
        {"a\rb\r\n", {"a\rb"}},  // a lone CR is part of the line
    };
    for (const auto& [text, expected] : cases) {
        ListLineCursor cursor(text);
        std::vector<std::string> lines;
        std::string_view line;
        while (cursor.next(line)) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, expected) << "text \"" << text << "\"";
    }
}

TEST(PatchListParser, ReadsTheExampleList) {
    const Parsed parsed = parse(
        "[VERSION]\r\n1.25\r\n[PatchList]\r\n"
        "File,Test_mainfold\\data\\Server.inf,3,900150983CD24FB0D6963F7D28E17F72\r\n"
        "File,Test_mainfold\\data\\Launch.inf,3,900150983CD24FB0D6963F7D28E17F72\r\n");
    EXPECT_EQ(parsed.version, L"1.25");
    ASSERT_EQ(parsed.items.size(), 2u);
    EXPECT_EQ(parsed.items[0].index, 0);
    EXPECT_EQ(parsed.items[0].directory, L"\\data");
    EXPECT_EQ(parsed.items[0].fileName, L"Server.inf");
    EXPECT_EQ(parsed.items[1].index, 1);
    EXPECT_EQ(parsed.items[1].fileName, L"Launch.inf");
    EXPECT_EQ(parsed.items[1].md5, L"900150983CD24FB0D6963F7D28E17F72");
}

TEST(PatchListParser, SectionLinesMatchOnlyExactly) {
    const std::pair<std::string, Parsed> cases[] = {
        // Lines before the sections are ignored.
        {"junk\n[VERSION]\n2.0\nmore junk\n[PatchList]\nFile,a,1,X\n", {L"2.0", {parseItemLine(L"File,a,1,X", 0)}}},
        {"[version]\n2.0\n[PatchList]\nFile,a,1,X\n", {L"", {}}},
        {" [VERSION]\n2.0\n[PatchList]\nFile,a,1,X\n", {L"", {}}},
        {"[VERSION] \n2.0\n[PatchList]\nFile,a,1,X\n", {L"", {}}},
        // "[PatchList]" is only looked for after the version section.
        {"[PatchList]\nFile,a,1,X\n[VERSION]\n2.0\n", {L"2.0", {}}},
        {"[VERSION]\n2.0\n[patchlist]\nFile,a,1,X\n", {L"2.0", {}}},
        {"[VERSION]", {L"", {}}},
        // A byte-order mark is part of the first line.
        {"\xEF\xBB\xBF[VERSION]\n2.0\n[PatchList]\nFile,a,1,X\n", {L"", {}}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        const Parsed parsed = parse(text);
        EXPECT_EQ(parsed.version, expected.version);
        ASSERT_EQ(parsed.items.size(), expected.items.size());
        for (std::size_t i = 0; i < parsed.items.size(); ++i) {
            EXPECT_EQ(parsed.items[i].listPath, expected.items[i].listPath);
        }
    }
}

TEST(PatchListParser, EmptyLinesAreItemsAndTakeAnIndex) {
    const Parsed parsed = parse("[VERSION]\n1\n[PatchList]\nFile,a,1,X\n\nFile,b,2,Y");
    ASSERT_EQ(parsed.items.size(), 3u);
    EXPECT_EQ(parsed.items[1].kind, L"");
    EXPECT_EQ(parsed.items[1].listPath, L"");
    EXPECT_EQ(parsed.items[2].index, 2);
    EXPECT_EQ(parsed.items[2].listPath, L"b");  // the last line has no line end
}

TEST(PatchListParser, VersionLineIsTakenWithoutCodePageConversion) {
    const Parsed parsed = parse("[VERSION]\n\xB0\xE6 1\n");
    EXPECT_EQ(parsed.version, (std::wstring{wchar_t(0xB0), wchar_t(0xE6), L' ', L'1'}));
}

}  // namespace
