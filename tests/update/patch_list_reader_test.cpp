#include "update/patch_list_reader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

struct Fields {
    std::wstring kind, sizeText, md5, listPath, fileName, directory;
};

bool next(PatchListReader& reader, Fields& f) {
    return reader.nextItem(f.kind, f.sizeText, f.md5, f.listPath, f.fileName, f.directory);
}

TEST(PatchListReader, MissingFileDoesNotOpen) {
    TempDir dir;
    PatchListReader reader;
    EXPECT_FALSE(reader.open(dir.path() + L"patchlist.dat"));
}

// The players' systems run with code page 936; the list carries Chinese names in it.
TEST(PatchListReader, ChineseNamesInCodePage936ComeOutAsChineseCharacters) {
    ASSERT_EQ(::GetACP(), 936u) << "the suite must run with a Chinese ANSI code page";
    TempDir dir;
    const std::wstring path = dir.file(L"patchlist.dat");
    // 中文\说明.txt in code page 936.
    writeFileBytes(path, "[VERSION]\r\n1.0\r\n[PatchList]\r\nFile,\xD6\xD0\xCE\xC4\\\xCB\xB5\xC3\xF7.txt,3,ABC\r\n");
    PatchListReader reader;
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(reader.readVersion(), L"1.0");
    reader.readItems();
    ASSERT_EQ(reader.itemCount(), 1);
    Fields f;
    ASSERT_TRUE(next(reader, f));
    EXPECT_EQ(f.listPath, L"\u4E2D\u6587\\\u8BF4\u660E.txt");
    EXPECT_EQ(f.directory, L"\\\u4E2D\u6587");
    EXPECT_EQ(f.fileName, L"\u8BF4\u660E.txt");
}

TEST(PatchListReader, NextItemHandsOutEveryItemOnceThenRewinds) {
    TempDir dir;
    const std::wstring path = dir.file(L"patchlist.dat");
    writeFileBytes(path, "[VERSION]\n2\n[PatchList]\nFile,a.txt,1,A\n1.5,p\\b.pak,2,B\nFile,c.txt,3,C");
    PatchListReader reader;
    ASSERT_TRUE(reader.open(path));
    reader.readVersion();
    reader.readItems();
    ASSERT_EQ(reader.itemCount(), 3);

    Fields f;
    std::vector<std::wstring> order;
    for (int i = 0; i < reader.itemCount(); ++i) {
        ASSERT_TRUE(next(reader, f));
        order.push_back(f.listPath);
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"a.txt", L"p\\b.pak", L"c.txt"}));
    EXPECT_EQ(f.kind, L"File");
    EXPECT_EQ(f.sizeText, L"3");
    EXPECT_EQ(f.md5, L"C");

    // One call too many assigns nothing and puts the cursor back to the first item.
    Fields untouched{L"k", L"s", L"m", L"l", L"f", L"d"};
    EXPECT_FALSE(next(reader, untouched));
    EXPECT_EQ(untouched.kind, L"k");
    EXPECT_EQ(untouched.directory, L"d");
    ASSERT_TRUE(next(reader, f));
    EXPECT_EQ(f.listPath, L"a.txt");
}

TEST(PatchListReader, EmptyListHandsOutNothing) {
    TempDir dir;
    const std::wstring path = dir.file(L"patchlist.dat");
    writeFileBytes(path, "[VERSION]\n2\n");
    PatchListReader reader;
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(reader.readVersion(), L"2");
    reader.readItems();
    EXPECT_EQ(reader.itemCount(), 0);
    Fields f{L"k", L"", L"", L"", L"", L""};
    EXPECT_FALSE(next(reader, f));
    EXPECT_EQ(f.kind, L"k");
}

}  // namespace
