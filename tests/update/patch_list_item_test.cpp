#include "update/patch_list_item.h"

#include <gtest/gtest.h>

namespace {

struct ItemCase {
    std::wstring line;
    std::wstring kind, listPath, sizeText, md5, directory, fileName;
};

TEST(PatchListItem, ItemLinesGiveTheirFields) {
    const ItemCase cases[] = {
        // Fields past the fourth replace the digest in turn.
        {L"File,a.txt,10,ABC,DEF", L"File", L"a.txt", L"10", L"DEF", L"", L"a.txt"},
        // An empty field cannot be written: it shifts the later fields to the left.
        {L"File,,10,ABC", L"File", L"10", L"ABC", L"", L"", L"10"},
        {L",File,a.txt,,3,X,", L"File", L"a.txt", L"3", L"X", L"", L"a.txt"},
        {L"File,Test_mainfold\\res\\skin\\bkg.jpg,5,X", L"File", L"Test_mainfold\\res\\skin\\bkg.jpg", L"5", L"X",
         L"\\res\\skin", L"bkg.jpg"},
        {L"File,readme.txt,5,X", L"File", L"readme.txt", L"5", L"X", L"", L"readme.txt"},
        {L"File,Test_mainfold\\Test_mainfold\\a\\b.txt,5,X", L"File", L"Test_mainfold\\Test_mainfold\\a\\b.txt", L"5",
         L"X", L"\\a", L"b.txt"},
        // The dropped folder is matched case-sensitively.
        {L"File,test_mainfold\\b.txt,5,X", L"File", L"test_mainfold\\b.txt", L"5", L"X", L"\\test_mainfold", L"b.txt"},
        // Empty components are skipped.
        {L"File,a\\\\b.txt,5,X", L"File", L"a\\\\b.txt", L"5", L"X", L"\\a", L"b.txt"},
        {L"1.26,patch\\p.bin,7,X", L"1.26", L"patch\\p.bin", L"7", L"X", L"\\patch", L"p.bin"},
        // Blanks are part of a field; there is no quoting.
        {L"File, a b.txt ,7,\"X\"", L"File", L" a b.txt ", L"7", L"\"X\"", L"", L" a b.txt "},
        {L"File", L"File", L"", L"", L"", L"", L""},
        {L"", L"", L"", L"", L"", L"", L""},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line \"" << std::string(c.line.begin(), c.line.end()) << "\"");
        const PatchListItem item = parseItemLine(c.line, 7);
        EXPECT_EQ(item.index, 7);
        EXPECT_EQ(item.kind, c.kind);
        EXPECT_EQ(item.listPath, c.listPath);
        EXPECT_EQ(item.sizeText, c.sizeText);
        EXPECT_EQ(item.md5, c.md5);
        EXPECT_EQ(item.directory, c.directory);
        EXPECT_EQ(item.fileName, c.fileName);
    }
}

TEST(PatchListItem, SizeTextReadsAsUnsigned32BitDecimal) {
    const std::pair<std::wstring, std::uint32_t> cases[] = {
        {L"10", 10u},
        {L"  42", 42u},
        {L"+7", 7u},
        {L"12ab", 12u},
        {L"ABC", 0u},
        {L"", 0u},
        {L"4294967295", 4294967295u},
        {L"4294967296", 4294967295u},  // past 32 bits: the largest size, not a wrapped small one
        {L"99999999999999999999", 4294967295u},
        {L"-1", 4294967295u},
    };
    for (const auto& [text, size] : cases) {
        EXPECT_EQ(readSizeText(text), size) << std::string(text.begin(), text.end());
    }
}

}  // namespace
