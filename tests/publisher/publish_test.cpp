#include "publisher/publish.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "identity/md5.h"
#ifdef _WIN32
#include "identity/release_signature.h"
#include "tests/support/signed_list.h"
#endif
#include "publisher/platform_text.h"
#include "publisher/release_scan.h"
#include "tests/publisher/publish_fixture.h"
#include "tests/publisher/scratch_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

// A request to publish scratch/release into scratch/site.
PublishRequest scratchRequest(const fs::path& scratch, std::wstring version = L"1.0") {
    PublishRequest request;
    request.releaseFolder = scratch / "release";
    request.siteFolder = scratch / "site";
    request.version = std::move(version);
    return request;
}

std::wstring digestOf(std::string_view bytes) {
    return digestText(md5Of(bytes.data(), bytes.size()));
}

class Publish : public testing::Test {
protected:
    fs::path release() const { return scratch.path() / "release"; }
    fs::path site() const { return scratch.path() / "site"; }

    void addFile(std::u8string_view relative, std::string_view bytes) const { writeBytes(release() / relative, bytes); }

    PublishRequest request(std::wstring version = L"1.5") const {
        fs::create_directories(release());
        PublishRequest r;
        r.releaseFolder = release();
        r.siteFolder = site();
        r.version = std::move(version);
        return r;
    }

    ScratchFolder scratch;
    RecordingObserver observer;
};

TEST_F(Publish, NestedFoldersChineseNamesAndEmptyFilesReadBackAsPublished) {
    struct File {
        std::u8string relative;
        std::string bytes;
        std::wstring listPath, directory, fileName;
    };
    const File files[] = {
        {u8"Bin/Lobbex.exe", "MZ", L"Bin\\Lobbex.exe", L"\\Bin", L"Lobbex.exe"},
        {u8"a/b/c/d/e/deep.bin", patternBytes(1000), L"a\\b\\c\\d\\e\\deep.bin", L"\\a\\b\\c\\d\\e", L"deep.bin"},
        {u8"empty.txt", "", L"empty.txt", L"", L"empty.txt"},
        {u8"\u6570\u636E/\u8BF4\u660E (\u7B2C1\u7248).txt", "hello", L"\u6570\u636E\\\u8BF4\u660E (\u7B2C1\u7248).txt",
         L"\\\u6570\u636E", L"\u8BF4\u660E (\u7B2C1\u7248).txt"},
        // The installed version's file comes last, after files whose paths sort behind it.
        {u8"data/Server.inf", "abc", L"data\\Server.inf", L"\\data", L"Server.inf"},
    };
    for (const File& file : files) {
        addFile(file.relative, file.bytes);
    }
    const PublishResult result = publishRelease(request(L"1.5"), observer);
    ASSERT_EQ(result.outcome, PublishOutcome::Published) << result.failure;
    EXPECT_TRUE(observer.warnings.empty());
    EXPECT_EQ(result.report.files, 5u);
    EXPECT_EQ(result.report.packages, 0u);
    EXPECT_EQ(result.report.bytes, 2u + 1000u + 0u + 5u + 3u);

    const ServedList list = readServedList(site());
    EXPECT_EQ(list.version, L"1.5");
    ASSERT_EQ(list.items.size(), std::size(files));
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const PatchListItem& item = list.items[i];
        const File& file = files[i];
        EXPECT_EQ(item.kind, L"File");
        EXPECT_EQ(item.listPath, file.listPath);
        EXPECT_EQ(item.directory, file.directory);
        EXPECT_EQ(item.fileName, file.fileName);
        EXPECT_EQ(item.sizeText, std::to_wstring(file.bytes.size()));
        EXPECT_EQ(item.md5, digestOf(file.bytes));
        EXPECT_EQ(readBytes(site() / "current" / "GameClient" / file.relative), file.bytes)
            << displayPath(file.relative);
    }
}

TEST_F(Publish, LargeFileIsDigestedWholeWhileProgressIsShown) {
    const std::string big = patternBytes((20u << 20) + 3);
    addFile(u8"big.bin", big);
    addFile(u8"small.txt", "abc");
    const PublishResult result = publishRelease(request(), observer);
    ASSERT_EQ(result.outcome, PublishOutcome::Published) << result.failure;

    const ServedList list = readServedList(site());
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].sizeText, L"20971523");
    EXPECT_EQ(list.items[0].md5, digestOf(big));
    EXPECT_EQ(readBytes(site() / "current" / "GameClient" / "big.bin"), big);

    // Progress comes during the large file, not only after it, and ends at the whole.
    bool duringTheFile = false;
    for (const PublishProgress& p : observer.calls) {
        EXPECT_EQ(p.itemsTotal, 2u);
        EXPECT_EQ(p.bytesTotal, big.size() + 3);
        duringTheFile = duringTheFile || (p.itemsDone == 0 && p.bytesDone > 0 && p.bytesDone < big.size());
    }
    EXPECT_TRUE(duringTheFile);
    ASSERT_FALSE(observer.calls.empty());
    EXPECT_EQ(observer.calls.back().itemsDone, 2u);
    EXPECT_EQ(observer.calls.back().bytesDone, big.size() + 3);
}

// The list of a small release, byte for byte: sections and lines with CR LF, files sorted by
// list path with the installed version's file last, Chinese names in code page 936, upper-case digests, packages after
// the files at the top of the installation in ascending version order, every path behind the prefix.
TEST_F(Publish, ListIsByteForByteWhatTheLauncherReads) {
    addFile(u8"Bin/Lobbex.exe", "MZ");
    addFile(u8"data/Server.inf", "abc");
    addFile(u8"empty.txt", "");
    addFile(u8"\u6570\u636E/\u8BF4\u660E.txt", "hello");
    writeBytes(scratch / u8"packages/p127.pak", "patch7");
    writeBytes(scratch / u8"packages/p126.pak", "patch");
    PublishRequest r = request(L"1.25");
    r.listPrefix = L"Test_mainfold";
    r.patches = {{L"1.27", scratch / u8"packages/p127.pak"}, {L"1.26", scratch / u8"packages/p126.pak"}};
    const PublishResult result = publishRelease(r, observer);
    ASSERT_EQ(result.outcome, PublishOutcome::Published) << result.failure;

    EXPECT_EQ(readBytes(site() / "current" / "patchlist.dat"),
              "[VERSION]\r\n"
              "1.25\r\n"
              "[PatchList]\r\n"
              "File,Test_mainfold\\Bin\\Lobbex.exe,2,AC6AD5D9B99757C3A878F2D275ACE198\r\n"
              "File,Test_mainfold\\empty.txt,0,D41D8CD98F00B204E9800998ECF8427E\r\n"
              "File,Test_mainfold\\\xCA\xFD\xBE\xDD\\\xCB\xB5\xC3\xF7.txt,5,5D41402ABC4B2A76B9719D911017C592\r\n"
              "File,Test_mainfold\\data\\Server.inf,3,900150983CD24FB0D6963F7D28E17F72\r\n"
              "1.26,Test_mainfold\\p126.pak,5,E5C5E6DAE38B284E8CF0BD1FB0EFAC03\r\n"
              "1.27,Test_mainfold\\p127.pak,6,BA98192FD527F84C3111488ACBCE094E\r\n");
    EXPECT_EQ(readBytes(site() / "current" / "GameVersion" / "Test_mainfold" / "p126.pak"), "patch");
    EXPECT_EQ(readBytes(site() / "current" / "GameClient" / "Test_mainfold" / u8"\u6570\u636E/\u8BF4\u660E.txt"),
              "hello");
    EXPECT_EQ(result.report.files, 4u);
    EXPECT_EQ(result.report.packages, 2u);
}

TEST_F(Publish, CheckOnlyReportsAndWritesNothing) {
    addFile(u8"a.txt", "abc");
    const PublishResult result = publishRelease(request(), observer, true);
    EXPECT_EQ(result.outcome, PublishOutcome::Checked);
    EXPECT_EQ(result.report.files, 1u);
    EXPECT_EQ(result.report.bytes, 3u);
    EXPECT_FALSE(fs::exists(site()));
}

TEST_F(Publish, WarnsWhereTheLauncherWouldDoOtherThanTheOperatorMayThink) {
    addFile(u8"Test_mainfold/x.txt", "abc");
    // Sizes of 4 GiB and more do not fit the launcher's 32-bit size (a sparse file: only checked).
    fs::create_directories(release());
    { std::ofstream(release() / "huge.bin", std::ios::binary); }
    fs::resize_file(release() / "huge.bin", (1ull << 32) + 1);
    const PublishResult result = publishRelease(request(L"1.2.3"), observer, true);
    EXPECT_EQ(result.outcome, PublishOutcome::Checked);
    EXPECT_EQ(observer.warnings,
              (std::vector<std::string>{
                  "--version: the launcher reads the version \"1.2.3\" as the number 1.2 and ignores \".3\"",
                  "Test_mainfold/x.txt: the launcher leaves out folders named Test_mainfold and installs this file as "
                  "\"x.txt\"",
                  "huge.bin: the file has 4294967297 bytes; the launcher reads sizes of 4 GiB and more as 4294967295, "
                  "so its progress bar will be off (the digest still checks the whole file)",
              }));
}

#ifndef _WIN32
TEST_F(Publish, ALinkInsideTheReleaseIsPublishedAsItsFile) {
    addFile(u8"bin/real.dll", "real");
    fs::create_symlink("real.dll", release() / "bin" / "alias.dll");
    ASSERT_EQ(publishRelease(request(), observer).outcome, PublishOutcome::Published);
    EXPECT_EQ(readBytes(site() / "current" / "GameClient" / "bin" / "alias.dll"), "real");
    EXPECT_FALSE(fs::is_symlink(site() / "current" / "GameClient" / "bin" / "alias.dll"));
}

// What was checked is what is copied: a file that becomes something else once the release
// was checked is not published.
TEST_F(Publish, AFileSwappedAfterTheCheckIsNotPublished) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& file, const fs::path& secret)> swap;
        std::string failure;
    };
    const Case cases[] = {
        {"for a link",
         [](const fs::path& file, const fs::path& secret) {
             fs::remove(file);
             fs::create_symlink(secret, file);
         },
         "b.txt: it became a link after the release was checked"},
        {"for another file",
         [](const fs::path& file, const fs::path& secret) {
             fs::copy_file(secret, file.string() + ".new");
             fs::rename(file.string() + ".new", file);
         },
         "b.txt: it became another file after the release was checked"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        writeBytes(folder / u8"release/a.txt", "first");
        writeBytes(folder / u8"release/b.txt", "second");
        writeBytes(folder / u8"secret.txt", "private");
        const PublishRequest r = scratchRequest(folder.path());
        RecordingObserver swapping;
        bool swapped = false;
        swapping.onProgress = [&](const PublishProgress& p) {
            if (!swapped && p.itemsDone == 1) {  // a.txt is copied, b.txt not yet
                c.swap(folder / u8"release/b.txt", folder / u8"secret.txt");
                swapped = true;
            }
            return true;
        };
        const PublishResult result = publishRelease(r, swapping);
        ASSERT_TRUE(swapped);
        EXPECT_EQ(result.outcome, PublishOutcome::Failed);
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_FALSE(fs::exists(r.siteFolder / "current"));
        for (const auto& [path, content] : snapshotTree(r.siteFolder)) {
            EXPECT_NE(content, "private") << path;
        }
    }
}
#endif

// The signing keys made by openssl when the tests were configured (LOBBEX_TEST_KEYS): p256.pem,
// its public half p256.pub (and its point in hexadecimal, p256.point), and p384.pem on another
// curve.
fs::path testKey(const char* name) {
    const char* folder = std::getenv("LOBBEX_TEST_KEYS");
    return folder != nullptr ? fs::path(folder) / name : fs::path(name);
}

// Whether signature is a signature of list by the public key of p256.pem, checked by openssl
// (or, on Windows, by the launcher's own check through CNG).
bool signatureVerifies(const fs::path& list, const fs::path& signature) {
#ifdef _WIN32
    const std::string der = readBytes(signature);
    const std::vector<P256PublicKey> keys{signed_list::keyOfHex(readBytes(testKey("p256.point")))};
    return verifyListSignature(list.wstring(), ByteSpan(reinterpret_cast<const std::uint8_t*>(der.data()), der.size()),
                               keys) == SignatureVerdict::Verified;
#else
    const std::string command = "openssl dgst -sha256 -verify '" + testKey("p256.pub").string() + "' -signature '" +
                                signature.string() + "' '" + list.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
#endif
}

TEST_F(Publish, TheListIsSignedBeforeItIsServed) {
    addFile(u8"bin/a.dll", "abc");
    PublishRequest signedRequest = request();
    signedRequest.signingKey = testKey("p256.pem");
    const PublishResult checked = publishRelease(signedRequest, observer, true);
    ASSERT_EQ(checked.outcome, PublishOutcome::Checked)
        << (checked.refusals.empty() ? "" : refusalMessage(checked.refusals[0]));
    EXPECT_TRUE(checked.report.signedList) << "--check says the key loads";
    EXPECT_FALSE(fs::exists(site()));

    const PublishResult published = publishRelease(signedRequest, observer);
    ASSERT_EQ(published.outcome, PublishOutcome::Published);
    EXPECT_TRUE(published.report.signedList);
    const fs::path release = published.report.servedFolder;
    EXPECT_TRUE(signatureVerifies(release / "patchlist.dat", release / "patchlist.dat.sig"));

    writeBytes(release / "changed.dat", readBytes(release / "patchlist.dat") + "File,x.dll,1,X\r\n");
    EXPECT_FALSE(signatureVerifies(release / "changed.dat", release / "patchlist.dat.sig")) << "the check can fail";

    // Published unsigned over a signed release, it is refused by launchers that have the key.
    const PublishResult next = publishRelease(request(L"1.6"), observer);
    ASSERT_EQ(next.outcome, PublishOutcome::Published);
    EXPECT_FALSE(next.report.signedList);
    EXPECT_FALSE(fs::exists(site() / "current" / "patchlist.dat.sig"));
    EXPECT_EQ(observer.warnings.back(),
              "the served release is signed and this one is not (no --sign-key): launchers built with a release key "
              "will refuse it");
}

TEST(PublishRefusals, AKeyThatCannotSignIsRefused) {
    struct Case {
        const char* name;
        std::function<fs::path(const fs::path& scratch)> key;
        std::string reasonStart;
    };
    const Case cases[] = {
        {"missing", [](const fs::path& scratch) { return scratch / "none.pem"; }, "cannot open it"},
        {"no key",
         [](const fs::path& scratch) {
             writeBytes(scratch / "text.pem", "not a key\n");
             return scratch / "text.pem";
         },
         "it holds no PEM "},
        {"the public half", [](const fs::path&) { return testKey("p256.pub"); }, "it holds no PEM "},
        {"another curve", [](const fs::path&) { return testKey("p384.pem"); }, "it is not a"},
        {"inside the release",
         [](const fs::path& scratch) {
             fs::copy_file(testKey("p256.pem"), scratch / "release" / "key.pem");
             return scratch / "release" / "key.pem";
         },
         "the private key lies in "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        writeBytes(scratch / u8"release/a.txt", "a");
        PublishRequest request = scratchRequest(scratch.path());
        request.signingKey = c.key(scratch.path());
        RecordingObserver observer;
        const PublishResult result = publishRelease(request, observer);
        ASSERT_EQ(result.outcome, PublishOutcome::Refused);
        ASSERT_EQ(result.refusals.size(), 1u);
        EXPECT_EQ(result.refusals[0].kind, RefusalKind::SigningKey);
        EXPECT_EQ(result.refusals[0].subject, "--sign-key " + displayPath(request.signingKey));
        EXPECT_EQ(result.refusals[0].reason.substr(0, c.reasonStart.size()), c.reasonStart)
            << result.refusals[0].reason;
        EXPECT_FALSE(fs::exists(request.siteFolder));
    }
}

struct RefusalCase {
    const char* name;
    std::function<void(const fs::path& release, PublishRequest&)> setUp;
    RefusalKind kind;
    std::string message;  // "subject: reason"; a {scratch} in it stands for the scratch folder
};

std::string expand(std::string text, const fs::path& scratch) {
    const std::string marker = "{scratch}";
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        text.replace(at, marker.size(), displayPath(scratch));
    }
    return text;
}

void file(const fs::path& release, std::u8string_view relative, std::string_view bytes = "x") {
    writeBytes(release / relative, bytes);
}

void runRefusals(const std::vector<RefusalCase>& cases) {
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const fs::path release = scratch.path() / "release";
        fs::create_directories(release);
        PublishRequest request;
        request.releaseFolder = release;
        request.siteFolder = scratch.path() / "site";
        request.version = L"1.0";
        c.setUp(release, request);
        const auto before = snapshotTree(scratch.path());
        RecordingObserver observer;
        const PublishResult result = publishRelease(request, observer);
        ASSERT_EQ(result.outcome, PublishOutcome::Refused);
        ASSERT_EQ(result.refusals.size(), 1u) << refusalMessage(result.refusals[0]);
        EXPECT_EQ(result.refusals[0].kind, c.kind);
        EXPECT_EQ(refusalMessage(result.refusals[0]), expand(c.message, scratch.path()));
        EXPECT_EQ(snapshotTree(scratch.path()), before) << "nothing is written";
        EXPECT_FALSE(fs::exists(request.siteFolder));
    }
}

TEST(PublishRefusals, EachRefusalNamesTheFileAndNothingIsWritten) {
    const std::string cp936 = ", which code page 936 cannot represent; the launcher reads list paths in it";
    runRefusals({
        {"comma", [](auto& rel, auto&) { file(rel, u8"data/a,b.txt"); }, RefusalKind::Comma,
         "data/a,b.txt: a comma cannot be carried in the list: its fields end at commas and it has no quoting"},
        {"not in code page 936", [](auto& rel, auto&) { file(rel, u8"x\U0001F600.txt"); }, RefusalKind::NotCodePage936,
         "x\U0001F600.txt: the name holds " + std::string("\"\U0001F600\" (U+1F600)") + cp936},
        {"backslash byte", [](auto& rel, auto&) { file(rel, u8"\u4E57.txt"); }, RefusalKind::BackslashByte,
         "\u4E57.txt: the name holds \"\u4E57\" (U+4E57), whose code page 936 form contains the byte of \"\\\"; the "
         "launcher turns that byte into \"/\" when it requests the file"},
        {"url character", [](auto& rel, auto&) { file(rel, u8"100%.txt"); }, RefusalKind::UrlCharacter,
         "100%.txt: the name holds \"%\" (U+0025): the launcher requests files by URLs it does not escape, where "
         "\"%\" starts an escape"},
        {"too long",
         [](auto& rel, auto& request) {
             file(rel, u8"abcdefghij.txt");
             request.listPrefix = std::wstring(250, L'p');
         },
         RefusalKind::TooLong, "abcdefghij.txt: the list path is 265 characters long; the launcher takes at most 259"},
        {"version",
         [](auto& rel, auto& request) {
             file(rel, u8"a.txt");
             request.version = L"abc";
         },
         RefusalKind::VersionNotANumber,
         "--version: the version \"abc\" does not begin with a number; the launcher would read it as 0. Write a "
         "decimal number such as 1.26"},
        {"package version",
         [](auto& rel, auto& request) {
             file(rel, u8"p.pak");
             request.patches = {{L"next", rel / "p.pak"}};
         },
         RefusalKind::VersionNotANumber,
         "--patch {scratch}/release/p.pak: the version \"next\" does not begin with a number; the launcher would "
         "read it as 0. Write a decimal number such as 1.26"},
        {"same package version",
         [](auto& rel, auto& request) {
             file(rel, u8"../a.pak");
             file(rel, u8"../b.pak");
             request.patches = {{L"1.26", rel / ".." / "a.pak"}, {L"1.260", rel / ".." / "b.pak"}};
         },
         RefusalKind::SameVersion,
         "{scratch}/release/../b.pak: it has the version number of {scratch}/release/../a.pak; the launcher would "
         "never hand the second one to the patcher"},
        {"missing package",
         [](auto&, auto& request) {
             request.patches = {{L"1.3", "no-such.pak"}};
         },
         RefusalKind::NotAFile, "no-such.pak: the patch package is not a file"},
        {"same place",
         [](auto& rel, auto&) {
             file(rel, u8"Test_mainfold/a.txt");
             file(rel, u8"a.txt");
         },
         RefusalKind::SamePlace,
         "a.txt: the launcher would install it where it installs Test_mainfold/a.txt (\"a.txt\"): Windows ignores "
         "case in names and the launcher leaves out folders named Test_mainfold"},
        {"temporary download file",
         [](auto& rel, auto&) {
             file(rel, u8"data/a.txt");
             file(rel, u8"data/a.txt.RKX");
         },
         RefusalKind::LauncherName,
         "data/a.txt.RKX: the name holds \".rkx\", which marks the launcher's own downloads and the programs it "
         "replaces"},
        {"aside name of a replaced program", [](auto& rel, auto&) { file(rel, u8"LobbexLauncher.exe.rkx-old"); },
         RefusalKind::LauncherName,
         "LobbexLauncher.exe.rkx-old: the name holds \".rkx\", which marks the launcher's own downloads and the "
         "programs it replaces"},
        {"list file", [](auto& rel, auto&) { file(rel, u8"PatchList.dat"); }, RefusalKind::ListFileName,
         "PatchList.dat: the launcher keeps the list it downloads and its signature as patchlist.dat and "
         "patchlist.dat.sig in its folder and would overwrite this file with them"},
        {"signature file", [](auto& rel, auto&) { file(rel, u8"patchlist.dat.sig"); }, RefusalKind::ListFileName,
         "patchlist.dat.sig: the launcher keeps the list it downloads and its signature as patchlist.dat and "
         "patchlist.dat.sig in its folder and would overwrite this file with them"},
        {"nothing", [](auto&, auto&) {}, RefusalKind::NothingToPublish,
         "{scratch}/release: the release folder holds no file and no patch package is given"},
        {"no release folder", [](auto& rel, auto&) { fs::remove(rel); }, RefusalKind::Unreadable,
         "{scratch}/release: it is not a folder"},
        {"site inside the release",
         [](auto& rel, auto& request) {
             file(rel, u8"a.txt");
             request.siteFolder = rel / "site";
         },
         RefusalKind::SiteInsideRelease,
         "{scratch}/release/site: the site folder lies in the release folder, so the release would contain its own "
         "publication"},
    });
}

#ifndef _WIN32
// Names that a Windows folder cannot even hold, and things that are no files.
TEST(PublishRefusals, NamesAndEntriesOnlyOtherSystemsHave) {
    const std::string windows = ", which Windows file names cannot hold";
    const std::string place = "Windows ignores case in names and the launcher leaves out folders named Test_mainfold";
    runRefusals({
        {"same name but for case",
         [](auto& rel, auto&) {
             file(rel, u8"Data/Readme.txt");
             file(rel, u8"data/README.TXT");
         },
         RefusalKind::SamePlace,
         "data/README.TXT: the launcher would install it where it installs Data/Readme.txt (\"Data\\Readme.txt\"): " +
             place},
        {"Greek case",
         [](auto& rel, auto&) {
             file(rel, u8"\u0391.txt");
             file(rel, u8"\u03B1.txt");
         },
         RefusalKind::SamePlace,
         "\u03B1.txt: the launcher would install it where it installs \u0391.txt (\"\u0391.txt\"): " + place},
        {"colon", [](auto& rel, auto&) { file(rel, u8"a:b.txt"); }, RefusalKind::NotWindowsName,
         "a:b.txt: the name holds \":\" (U+003A)" + windows},
        {"backslash in a name", [](auto& rel, auto&) { file(rel, u8"a\\b.txt"); }, RefusalKind::NotWindowsName,
         "a\\b.txt: the name holds \"\\\" (U+005C)" + windows},
        {"trailing dot", [](auto& rel, auto&) { file(rel, u8"dir./a.txt"); }, RefusalKind::TrailingDotOrBlank,
         "dir./a.txt: the name ends in a dot, which Windows drops from file names"},
        {"device", [](auto& rel, auto&) { file(rel, u8"logs/nul.txt"); }, RefusalKind::DeviceName,
         "logs/nul.txt: \"nul.txt\" names a device on Windows; no file can have that name"},
        {"not UTF-8", [](auto& rel, auto&) { writeBytes(rel / "a\xB5\xC3.txt", "x"); }, RefusalKind::NotText,
         "a\\xB5\\xC3.txt: the name is not UTF-8 text, so its characters and their code page 936 form are unknown"},
        {"link to a folder",
         [](auto& rel, auto&) {
             file(rel, u8"real/a.txt");
             fs::create_directory_symlink("real", rel / "linked");
         },
         RefusalKind::NotAFile, "linked: a link to a folder is not followed; copy the folder instead"},
        // A link is published as what it points at: outside the release that could be anything.
        {"link out of the release",
         [](auto& rel, auto&) {
             file(rel, u8"../secret/id_rsa", "private");
             fs::create_symlink(fs::canonical(rel / ".." / "secret" / "id_rsa"), rel / "config.ini");
         },
         RefusalKind::LinkOutside,
         "config.ini: the link leads out of the release folder (to {scratch}/secret/id_rsa), and what it points at "
         "would be published; copy the file into the release instead"},
        {"relative link climbing out",
         [](auto& rel, auto&) {
             file(rel, u8"../notes.txt");
             file(rel, u8"sub/a.txt");
             fs::create_symlink("../../notes.txt", rel / "sub" / "b.txt");
         },
         RefusalKind::LinkOutside,
         "sub/b.txt: the link leads out of the release folder (to {scratch}/notes.txt), and what it points at would "
         "be published; copy the file into the release instead"},
        {"dangling link",
         [](auto& rel, auto&) {
             file(rel, u8"a.txt");
             fs::create_symlink("gone.txt", rel / "b.txt");
         },
         RefusalKind::NotAFile, "b.txt: the link points at nothing"},
        {"pipe",
         [](auto& rel, auto&) {
             file(rel, u8"a.txt");
             ASSERT_EQ(::mkfifo((rel / "pipe").c_str(), 0600), 0);
         },
         RefusalKind::NotAFile, "pipe: it is not a file (a device, a pipe or a socket)"},
        // The code page 936 bytes of two characters that are the UTF-8 form of 中a: the link
        // beside the one would be the other's name.
        {"code page 936 name of another",
         [](auto& rel, auto&) {
             file(rel, u8"\u4E2Da");
             ASSERT_EQ(decodeCodePage936("\xE4\xB8\xAD\x61"), std::optional<std::wstring>(L"\u6D93\u74A6"));
             file(rel, u8"\u6D93\u74A6");
         },
         RefusalKind::AliasClash,
         "\u6D93\u74A6: the code page 936 bytes of \"\u6D93\u74A6\" are the UTF-8 name of \u4E2Da; the server could "
         "not tell the two apart"},
    });
}
#endif

TEST(PublishRefusals, DownloadUrlsMustFitTheLauncher) {
    ScratchFolder scratch;
    writeBytes(scratch / u8"release/file.bin", "1");
    writeBytes(scratch / u8"release/f.bin", "2");
    PublishRequest request = scratchRequest(scratch.path(), L"1");
    // 240 + "/GameClient/" + "f.bin" is 257 bytes; with "file.bin" it is 260.
    request.baseUrl = L"http://h/" + std::wstring(231, L'u');
    RecordingObserver observer;
    const PublishResult result = publishRelease(request, observer);
    ASSERT_EQ(result.outcome, PublishOutcome::Refused);
    ASSERT_EQ(result.refusals.size(), 1u);
    EXPECT_EQ(result.refusals[0].kind, RefusalKind::UrlTooLong);
    EXPECT_EQ(refusalMessage(result.refusals[0]),
              "file.bin: its download URL would be 260 bytes long in code page 936; the launcher sends at most 259");

    request.baseUrl = L"http://h/" + std::wstring(250, L'u');
    const PublishResult listTooLong = publishRelease(request, observer);
    ASSERT_EQ(listTooLong.outcome, PublishOutcome::Refused);
    EXPECT_EQ(refusalMessage(listTooLong.refusals.at(0)),
              "--base-url: the list's URL would be 273 bytes long; the launcher sends at most 259");
}

TEST(PublishRefusals, EveryProblemIsReportedAtOnce) {
    ScratchFolder scratch;
    writeBytes(scratch / u8"release/a,b.txt", "1");
    writeBytes(scratch / u8"release/ok.txt", "2");
    writeBytes(scratch / u8"release/sub/#1.txt", "3");
    const PublishRequest request = scratchRequest(scratch.path(), L"");
    RecordingObserver observer;
    const PublishResult result = publishRelease(request, observer);
    ASSERT_EQ(result.outcome, PublishOutcome::Refused);
    std::vector<RefusalKind> kinds;
    for (const Refusal& refusal : result.refusals) {
        kinds.push_back(refusal.kind);
    }
    std::sort(kinds.begin(), kinds.end());
    EXPECT_EQ(kinds, (std::vector<RefusalKind>{RefusalKind::Comma, RefusalKind::UrlCharacter,
                                               RefusalKind::VersionNotANumber}));
}

}  // namespace
