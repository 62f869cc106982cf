#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "identity/md5.h"
#include "tests/support/temp_dir.h"
#include "update/update_engine.h"

namespace {

constexpr char kAbcDigest[] = "900150983CD24FB0D6963F7D28E17F72";

class VersionCheck : public testing::Test {
protected:
    void SetUp() override { engine.exeDir = dir.path(); }

    void writeList(const std::string& items, const std::string& version = "2.0") {
        writeFileBytes(listFile(), "[VERSION]\r\n" + version + "\r\n[PatchList]\r\n" + items);
    }
    std::wstring listFile() const { return dir.path() + L"patchlist.dat"; }

    static std::vector<std::wstring> names(const UpdateQueue& queue) {
        std::vector<std::wstring> result;
        for (const UpdateFileEntry& entry : queue) {
            result.emplace_back(fixedTextView(entry.listPath));
        }
        return result;
    }

    TempDir dir;
    UpdateEngine engine;
};

TEST_F(VersionCheck, QueuesOnlyPatchesNewerThanTheInstalledPatchLevel) {
    engine.launchVersion = L"1.25";
    engine.totalBytes = 99;
    engine.doneBytes = 42;
    writeList(
        "1.25,p\\a.pak,10,A\r\n"
        "File,x.txt,1000,X\r\n"
        "1.26,p\\b.pak,20,B\r\n"
        "1.3,p\\c.pak,4294967295,C\r\n");
    EXPECT_EQ(engine.checkPatches(), UpdatesFound);
    EXPECT_EQ(names(engine.patchQueue), (std::vector<std::wstring>{L"p\\b.pak", L"p\\c.pak"}));
    EXPECT_EQ(engine.serverVersion, L"2.0");
    // Sizes add up as unsigned 32-bit values in a 64-bit total.
    EXPECT_EQ(engine.totalBytes, 20 + 4294967295LL);
    EXPECT_EQ(engine.doneBytes, 0);
    EXPECT_TRUE(fileExists(listFile())) << "the patch check leaves the list for the file check";

    const UpdateFileEntry& b = engine.patchQueue[0];
    EXPECT_EQ(fixedTextView(b.directory), L"\\p");
    EXPECT_EQ(fixedTextView(b.fileName), L"b.pak");
    EXPECT_EQ(b.md5, L"B");
    EXPECT_EQ(b.size, 20u);
    EXPECT_EQ(b.kind, L"1.26");
}

TEST_F(VersionCheck, PatchVersionsCompareAsDecimalFractions) {
    engine.launchVersion = L"1.9";
    engine.localVersion = L"2.0";
    writeList("1.10,p\\a.pak,10,A\r\n");
    EXPECT_EQ(engine.checkPatches(), UpToDate);
    EXPECT_TRUE(engine.patchQueue.empty());
}

TEST_F(VersionCheck, WithoutNewerPatchesTheVersionsDecide) {
    struct Case {
        std::wstring local;
        std::string server;
        UpdateResult result;
    };
    const Case cases[] = {
        {L"2.0", "2.0", UpToDate},     {L"2.1", "2.0", UpToDate},
        {L"2.0", "2.1", UpdatesFound}, {L"", "0", UpToDate},  // a missing installed version reads as 0
        {L"", "0.1", UpdatesFound},    {L"2.0", "", UpToDate},
    };
    for (const Case& c : cases) {
        engine.localVersion = c.local;
        writeList("File,x.txt,3,X\r\n", c.server);
        EXPECT_EQ(engine.checkPatches(), c.result) << c.server;
        EXPECT_TRUE(engine.patchQueue.empty());
        EXPECT_TRUE(engine.fileQueue.empty());
    }
}

TEST_F(VersionCheck, PatchCheckReportsWorkWhileFilesAreQueued) {
    engine.localVersion = L"2.0";
    engine.fileQueue.push_back(UpdateFileEntry{});
    writeList("");
    EXPECT_EQ(engine.checkPatches(), UpdatesFound);
}

TEST_F(VersionCheck, PatchKindsThatAreNoNumbersAreNotQueued) {
    engine.launchVersion = L"1.0";
    engine.localVersion = L"2.0";
    writeList("2.5,p\\new.pak,1,A\r\nfile,p\\x.pak,1,B\r\n,p\\y.pak,1,C\r\n");
    EXPECT_EQ(engine.checkPatches(), UpdatesFound);
    EXPECT_EQ(names(engine.patchQueue), (std::vector<std::wstring>{L"p\\new.pak"}));
}

TEST_F(VersionCheck, MissingListIsAVersionErrorAndChangesNothing) {
    engine.fileQueue.push_back(UpdateFileEntry{});
    engine.patchQueue.push_back(UpdateFileEntry{});
    engine.totalBytes = 5;
    engine.serverVersion = L"old";
    EXPECT_EQ(engine.checkPatches(), VersionError);
    EXPECT_EQ(engine.checkFiles(), VersionError);
    EXPECT_EQ(engine.fileQueue.size(), 1u);
    EXPECT_EQ(engine.patchQueue.size(), 1u);
    EXPECT_EQ(engine.totalBytes, 5);
    EXPECT_EQ(engine.serverVersion, L"old");
}

TEST_F(VersionCheck, FileCheckQueuesFilesWhoseDigestDiffers) {
    writeFileBytes(dir.file(L"data\\current.txt"), "abc");
    writeFileBytes(dir.file(L"data\\changed.txt"), "abd");
    writeFileBytes(dir.file(L"top.txt"), "abc");
    writeFileBytes(dir.file(L"lower.txt"), "abc");
    writeFileBytes(dir.file(L"empty.txt"), "");
    writeList(std::string() + "File,Test_mainfold\\data\\current.txt,3," + kAbcDigest +
              "\r\n"
              "File,Test_mainfold\\data\\changed.txt,3," +
              kAbcDigest +
              "\r\n"
              "File,top.txt,3," +
              kAbcDigest +
              "\r\n"
              "File,missing\\gone.txt,7," +
              kAbcDigest +
              "\r\n"
              // The comparison is case-sensitive: a lower-case digest never matches.
              "File,lower.txt,3,900150983cd24fb0d6963f7d28e17f72\r\n"
              // An empty file is current when the list gives the digest of no bytes.
              "File,empty.txt,0,D41D8CD98F00B204E9800998ECF8427E\r\n"
              // Only "File" marks an installation file.
              "file,changed.txt,3,X\r\n"
              "1.5,p\\x.pak,100,X\r\n");
    engine.patchQueue.push_back(UpdateFileEntry{});
    EXPECT_EQ(engine.checkFiles(), UpdatesFound);
    EXPECT_EQ(names(engine.fileQueue),
              (std::vector<std::wstring>{L"Test_mainfold\\data\\changed.txt", L"missing\\gone.txt", L"lower.txt"}));
    EXPECT_EQ(engine.totalBytes, 3 + 7 + 3);
    EXPECT_EQ(engine.doneBytes, 0);
    EXPECT_EQ(engine.patchQueue.size(), 1u) << "the file check leaves the patch queue alone";
    EXPECT_FALSE(fileExists(listFile())) << "the file check deletes the list";
}

// Files that changed after the list was made, around the size (8 MiB) where reading gives way
// to mapping: only the bytes on disk count, so every change is found and the queue keeps the
// order of the list. A file the check cannot open is queued as well.
TEST_F(VersionCheck, FileCheckFindsFilesThatChangedSinceTheList) {
    std::string listed(8u << 20, '\0');
    for (std::size_t i = 0; i < listed.size(); ++i) {
        listed[i] = static_cast<char>(i * 7 % 253);
    }
    const std::wstring wide = digestText(md5Of(listed.data(), listed.size()));
    const std::string digest(wide.begin(), wide.end());
    struct Case {
        const char* name;
        std::string onDisk;
        bool queued;
    };
    const Case cases[] = {
        {"same.bin", listed, false},
        {"grown.bin", listed + "x", true},
        {"shrunk.bin", listed.substr(0, listed.size() - 1), true},
        {"changed-last.bin", listed.substr(0, listed.size() - 1) + "x", true},
        {"emptied.bin", "", true},
        {"locked.bin", listed, true},
    };
    std::string items;
    std::vector<std::wstring> expected;
    for (const Case& c : cases) {
        const std::wstring name(c.name, c.name + std::char_traits<char>::length(c.name));
        writeFileBytes(dir.file(name), c.onDisk);
        items += std::string("File,") + c.name + "," + std::to_string(listed.size()) + "," + digest + "\r\n";
        if (c.queued) {
            expected.push_back(name);
        }
    }
    writeList(items);
    UniqueFileHandle locked(::CreateFileW(dir.file(L"locked.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    EXPECT_EQ(engine.checkFiles(), UpdatesFound);
    EXPECT_EQ(names(engine.fileQueue), expected);
    EXPECT_EQ(engine.totalBytes, static_cast<std::int64_t>(expected.size() * listed.size()));
}

TEST_F(VersionCheck, FileCheckFindsCurrentInstallationUpToDate) {
    writeFileBytes(dir.file(L"a.txt"), "abc");
    writeList(std::string("File,a.txt,3,") + kAbcDigest + "\r\n");
    engine.fileQueue.push_back(UpdateFileEntry{});
    EXPECT_EQ(engine.checkFiles(), UpToDate);
    EXPECT_TRUE(engine.fileQueue.empty());
    EXPECT_EQ(engine.totalBytes, 0);
}

TEST_F(VersionCheck, FileCheckFindsChineseNamedFiles) {
    writeFileBytes(dir.file(L"\u6570\u636E\\\u8BF4\u660E.txt"), "abc");  // 数据\说明.txt
    writeList(std::string("File,\xCA\xFD\xBE\xDD\\\xCB\xB5\xC3\xF7.txt,3,") + kAbcDigest + "\r\n");
    EXPECT_EQ(engine.checkFiles(), UpToDate);
}

// A list that would make the launcher write outside its folder, or whose paths do not fit an
// entry, is refused whole: nothing is queued and nothing else changes.
TEST_F(VersionCheck, ListWithAnUnsafeItemIsRefusedWhole) {
    const std::string unsafe[] = {
        "File,..\\outside.exe,3,X\r\n",
        "File,data/../../outside.exe,3,X\r\n",
        "File,C:\\Windows\\outside.exe,3,X\r\n",
        "1.9,..\\outside.pak,3,X\r\n",
        "File," + std::string(260, 'n') + ",3,X\r\n",
    };
    for (const std::string& bad : unsafe) {
        SCOPED_TRACE(bad);
        engine.launchVersion = L"1.0";
        engine.serverVersion = L"before";
        engine.totalBytes = 11;
        engine.fileQueue.assign(1, UpdateFileEntry{});
        engine.patchQueue.assign(2, UpdateFileEntry{});
        writeList("File,fine.txt,3,X\r\n1.5,p\\fine.pak,3,X\r\n" + bad, "9.0");

        EXPECT_EQ(engine.checkPatches(), VersionError);
        EXPECT_EQ(engine.checkFiles(), VersionError);
        EXPECT_EQ(engine.serverVersion, L"before");
        EXPECT_EQ(engine.totalBytes, 11);
        EXPECT_EQ(engine.fileQueue.size(), 1u);
        EXPECT_EQ(engine.patchQueue.size(), 2u);
        EXPECT_TRUE(fileExists(listFile()));
    }
}

// A file larger than any list is no list of ours: refused before it is read into memory,
// which a 32-bit process may not have.
TEST_F(VersionCheck, OversizedListIsAVersionError) {
    writeList("File,a.txt,3,X\r\n");
    {
        UniqueFileHandle file(::CreateFileW(listFile().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(kMaxPatchListBytes) + 1;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
    }
    EXPECT_EQ(engine.checkPatches(), VersionError);
    EXPECT_EQ(engine.checkFiles(), VersionError);
    EXPECT_TRUE(engine.fileQueue.empty());
}

// Blank lines of a hand-made list name nothing: passed over, not refused.
TEST_F(VersionCheck, BlankLinesArePassedOver) {
    writeFileBytes(dir.file(L"a.txt"), "abc");
    engine.launchVersion = L"-1";
    writeList(std::string("\r\nFile,a.txt,3,") + kAbcDigest + "\r\n  \r\n,,\r\n");
    EXPECT_EQ(engine.checkPatches(), UpdatesFound) << "the server's version is newer";
    EXPECT_TRUE(engine.patchQueue.empty()) << "a blank line is no patch package";
    EXPECT_EQ(engine.checkFiles(), UpToDate);
}

}  // namespace
