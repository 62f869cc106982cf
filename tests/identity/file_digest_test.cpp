#include "identity/file_digest.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <thread>

#include "common/unique_handle.h"
#include "identity/file_digests.h"
#include "identity/md5.h"
#include "tests/support/temp_dir.h"

namespace {

std::string patternBytes(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<char>(i % 251);
    }
    return bytes;
}

TEST(FileDigest, DigestsTheContents) {
    TempDir dir;
    const std::wstring path = dir.file(L"abc.txt");
    writeFileBytes(path, "abc");
    EXPECT_EQ(fileDigest(path), L"900150983CD24FB0D6963F7D28E17F72");
}

// An empty file cannot be mapped, but it is a file like any other: it has the digest of no
// bytes, so an installed empty file that the list names is found current.
TEST(FileDigest, EmptyFileHasTheDigestOfNoBytes) {
    TempDir dir;
    const std::wstring path = dir.file(L"empty.dat");
    writeFileBytes(path, "");
    EXPECT_EQ(fileDigest(path), L"D41D8CD98F00B204E9800998ECF8427E");
}

TEST(FileDigest, MissingFileGivesTheCreateFileErrorText) {
    TempDir dir;
    EXPECT_EQ(fileDigest(dir.path() + L"missing.dat"), L"CreateFile Error ( code:2 )!");
    EXPECT_EQ(fileDigest(dir.path() + L"no-such-folder\\x.dat"), L"CreateFile Error ( code:3 )!");
}

TEST(FileDigest, FileOpenedWithoutReadSharingGivesASharingViolation) {
    TempDir dir;
    const std::wstring path = dir.file(L"locked.dat");
    writeFileBytes(path, "abc");
    UniqueFileHandle locked(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    EXPECT_EQ(fileDigest(path), L"CreateFile Error ( code:32 )!");
}

// Small files are read; larger ones go through mapped views, mapped ahead on a second thread
// when the views are large. Every way covers the whole file, a last view shorter than the
// others included.
TEST(FileDigest, EveryWayOfReadingCoversTheWholeFile) {
    TempDir dir;
    const std::wstring small = dir.file(L"small.bin");
    const std::wstring large = dir.file(L"large.bin");
    const std::string smallBytes = patternBytes(65536 * 3 + 1234);
    const std::string largeBytes = patternBytes((9u << 20) + 65536 * 3 + 1234);
    writeFileBytes(small, smallBytes);
    writeFileBytes(large, largeBytes);
    const std::wstring smallDigest = digestText(md5Of(smallBytes.data(), smallBytes.size()));
    const std::wstring largeDigest = digestText(md5Of(largeBytes.data(), largeBytes.size()));
    EXPECT_EQ(smallDigest, L"FF2A1647E079193CB66C9D6890524185");

    EXPECT_EQ(fileDigest(small), smallDigest);
    EXPECT_EQ(fileDigestWithViews(small, 0), smallDigest);
    EXPECT_EQ(fileDigest(large), largeDigest);                      // views mapped ahead
    EXPECT_EQ(fileDigestWithViews(large, 65536), largeDigest);      // small views, one thread
    EXPECT_EQ(fileDigestWithViews(large, 65536 * 2), largeDigest);  // a short last view
    EXPECT_EQ(fileDigestWithViews(large, 0), largeDigest);          // read
}

// A file is read until a read comes back short; only one still going at 8 MiB is asked for
// its size and mapped beyond. Sizes on either side of the read chunk (256 KiB) and of that
// threshold give the digest of every byte, whichever way the file is taken.
TEST(FileDigest, SizesAtTheReadAndMappingBoundariesAreDigestedWhole) {
    constexpr std::size_t kChunk = 256u << 10;
    constexpr std::size_t kThreshold = 8u << 20;
    const std::size_t sizes[] = {0,
                                 1,
                                 kChunk - 1,
                                 kChunk,
                                 kChunk + 1,
                                 2 * kChunk,
                                 kThreshold - 1,
                                 kThreshold,
                                 kThreshold + 1,
                                 kThreshold + 65536 + 5};
    const std::uint32_t views[] = {kDigestViewBytes, 65536, 0};
    TempDir dir;
    const std::string all = patternBytes(sizes[std::size(sizes) - 1]);
    for (std::size_t size : sizes) {
        const std::wstring path = dir.file(L"f" + std::to_wstring(size) + L".bin");
        writeFileBytes(path, std::string_view(all).substr(0, size));
        const std::wstring expected = digestText(md5Of(all.data(), size));
        for (std::uint32_t viewBytes : views) {
            EXPECT_EQ(fileDigestWithViews(path, viewBytes), expected) << size << " bytes, views of " << viewBytes;
        }
        ::DeleteFileW(path.c_str());
    }
}

// A file of 4 GiB and more is digested over its full 64-bit size, not over the low 32 bits
// of it (which would be 3 bytes here). The file is sparse: 4 GiB of zeros, then "abc".
TEST(FileDigest, FilesOfFourGibibytesAndMoreAreDigestedWhole) {
    TempDir dir;
    const std::wstring path = dir.file(L"huge.bin");
    {
        UniqueFileHandle file(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD returned = 0;
        ::DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER offset;
        offset.QuadPart = 1LL << 32;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), "abc", 3, &written, nullptr));
    }
    EXPECT_EQ(fileDigest(path), L"59EB8CC802C86D3EDA7E0D1912F6A9C3");
}

TEST(FileDigest, TwoThreadsDigestAtTheSameTime) {
    TempDir dir;
    const std::wstring first = dir.file(L"first.bin");
    const std::wstring second = dir.file(L"second.bin");
    const std::string firstBytes = patternBytes(3 << 20);
    const std::string secondBytes(5 << 20, 'x');
    writeFileBytes(first, firstBytes);
    writeFileBytes(second, secondBytes);
    const std::wstring firstExpected = digestText(md5Of(firstBytes.data(), firstBytes.size()));
    const std::wstring secondExpected = digestText(md5Of(secondBytes.data(), secondBytes.size()));

    std::wstring firstResults[20];
    std::wstring secondResults[20];
    std::thread a([&] {
        for (auto& result : firstResults) {
            result = fileDigestWithViews(first, 65536);
        }
    });
    std::thread b([&] {
        for (auto& result : secondResults) {
            result = fileDigestWithViews(second, 65536);
        }
    });
    a.join();
    b.join();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(firstResults[i], firstExpected);
        EXPECT_EQ(secondResults[i], secondExpected);
    }
}

// Digests computed on several threads come back in the order of the paths.
TEST(FileDigests, ResultsKeepTheOrderOfThePaths) {
    TempDir dir;
    std::vector<std::wstring> paths;
    std::vector<std::wstring> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string content = patternBytes(static_cast<std::size_t>(i) * 997);
        paths.push_back(dir.file(L"f" + std::to_wstring(i)));
        writeFileBytes(paths.back(), content);
        expected.push_back(digestText(md5Of(content.data(), content.size())));
    }
    paths.push_back(dir.path() + L"missing");
    expected.push_back(L"CreateFile Error ( code:2 )!");
    for (unsigned threads : {1u, 2u, 4u}) {
        EXPECT_EQ(fileDigests(paths, threads), expected) << threads << " threads";
    }
}

// Files of every length around the blocks and reads of the lanes, more of them than lanes,
// with files that cannot be opened in between: each gets its own text, in order, on
// any number of threads.
TEST(FileDigests, LanesOfEveryLengthGetEachTheirOwnDigest) {
    TempDir dir;
    const std::size_t sizes[] = {0,      1,     63,    64,         65,         4095,
                                 65535,  65536, 65537, 65536 + 63, 131072 + 5, (1u << 20) + 13,
                                 200000, 7,     128,   300001,     65536 * 3,  99};
    std::vector<std::wstring> paths;
    std::vector<std::wstring> expected;
    for (std::size_t round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < std::size(sizes); ++i) {
            std::string content = patternBytes(sizes[i] + round);
            if (!content.empty()) {
                content[0] = static_cast<char>(i);  // no two files alike
            }
            paths.push_back(dir.file(L"f" + std::to_wstring(round) + L"_" + std::to_wstring(i)));
            writeFileBytes(paths.back(), content);
            expected.push_back(digestText(md5Of(content.data(), content.size())));
            if (i == 5) {
                paths.push_back(dir.path() + L"missing" + std::to_wstring(round));
                expected.push_back(L"CreateFile Error ( code:2 )!");
            }
        }
    }
    // Opened elsewhere without read sharing: it cannot be opened here.
    const std::wstring lockedPath = dir.file(L"locked.dat");
    writeFileBytes(lockedPath, patternBytes(200000));
    UniqueFileHandle locker(
        ::CreateFileW(lockedPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locker);
    paths.insert(paths.begin() + 10, lockedPath);
    expected.insert(expected.begin() + 10, L"CreateFile Error ( code:32 )!");

    for (unsigned threads : {1u, 2u, 3u}) {
        EXPECT_EQ(fileDigests(paths, threads), expected) << threads << " threads";
    }
    EXPECT_TRUE(fileDigests({}, 2).empty());
}

}  // namespace
