// A site published by the native lobbex-publish, as operators publish, read by the launcher's
// list reader on a Chinese Windows: the code page 936 written by the C library's iconv comes
// out as the names it came from, and every served file has the listed digest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "identity/file_digest.h"
#include "update/patch_list_reader.h"

namespace {

struct Entry {
    std::wstring kind, sizeText, md5, listPath, fileName, directory;
    bool operator==(const Entry&) const = default;
};

TEST(PublishedSite, LauncherReadsWhatTheNativePublisherWrote) {
    ASSERT_EQ(::GetACP(), 936u) << "the suite must run with a Chinese ANSI code page";
    const wchar_t* site = ::_wgetenv(L"LOBBEX_PUBLISHED_SITE");
    ASSERT_NE(site, nullptr) << "LOBBEX_PUBLISHED_SITE names the published site";
    const std::wstring served = std::wstring(site) + L"\\";

    PatchListReader reader;
    ASSERT_TRUE(reader.open(served + L"patchlist.dat"));
    EXPECT_EQ(reader.readVersion(), L"3.0");
    reader.readItems();
    // The installed version's file last: launchers put it in place last.
    const Entry expected[] = {
        {L"File", L"0", L"D41D8CD98F00B204E9800998ECF8427E", L"Test_mainfold\\empty.txt", L"empty.txt", L""},
        {L"File", L"5", L"5D41402ABC4B2A76B9719D911017C592", L"Test_mainfold\\\u6570\u636E\\\u8BF4\u660E.txt",
         L"\u8BF4\u660E.txt", L"\\\u6570\u636E"},
        {L"File", L"3", L"900150983CD24FB0D6963F7D28E17F72", L"Test_mainfold\\data\\Server.inf", L"Server.inf",
         L"\\data"},
    };
    ASSERT_EQ(reader.itemCount(), static_cast<std::int32_t>(std::size(expected)));
    for (const Entry& want : expected) {
        Entry got;
        ASSERT_TRUE(reader.nextItem(got.kind, got.sizeText, got.md5, got.listPath, got.fileName, got.directory));
        EXPECT_TRUE(got == want) << "entry " << &want - expected;
        EXPECT_EQ(fileDigest(served + L"GameClient\\" + got.listPath), got.md5);
    }
}

}  // namespace
