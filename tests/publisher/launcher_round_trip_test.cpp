// What the publisher writes, read by the launcher's own code on a Chinese Windows: the list
// reader decodes the list with the thread's ANSI code page, and the version checks find an
// installation of the published release up to date.
#include <windows.h>

#include <gtest/gtest.h>

#include "publisher/publish.h"
#include "tests/publisher/publish_fixture.h"
#include "tests/publisher/scratch_folder.h"
#include "update/patch_list_reader.h"
#include "update/update_engine.h"

namespace {

namespace fs = std::filesystem;

struct Fields {
    std::wstring kind, sizeText, md5, listPath, fileName, directory;
    bool operator==(const Fields&) const = default;
};

class LauncherRoundTrip : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::GetACP(), 936u) << "the suite must run with a Chinese ANSI code page";
        writeBytes(release() / u8"data/Server.inf", "abc");
        writeBytes(release() / u8"\u6570\u636E/\u8BF4\u660E (\u7B2C1\u7248).txt", "hello");
        writeBytes(release() / u8"empty.txt", "");
        writeBytes(scratch / u8"\u8865\u4E01.pak", "patch");
        PublishRequest request;
        request.releaseFolder = release();
        request.siteFolder = scratch / u8"site";
        request.version = L"2.5";
        request.listPrefix = L"Test_mainfold";
        request.patches = {{L"2.5", scratch / u8"\u8865\u4E01.pak"}};
        const PublishResult result = publishRelease(request, observer);
        ASSERT_EQ(result.outcome, PublishOutcome::Published) << result.failure;
    }

    fs::path release() const { return scratch / u8"release"; }
    fs::path servedList() const { return scratch / u8"site/current/patchlist.dat"; }

    // An installation of the release with the list downloaded into it, as the launcher has it.
    std::wstring installRelease() const {
        const fs::path installation = scratch / u8"installation";
        fs::copy(release(), installation, fs::copy_options::recursive);
        fs::copy_file(servedList(), installation / "patchlist.dat", fs::copy_options::overwrite_existing);
        return installation.wstring() + L"\\";
    }

    ScratchFolder scratch;
    RecordingObserver observer;
};

TEST_F(LauncherRoundTrip, ListReaderGivesBackThePublishedEntries) {
    PatchListReader reader;
    ASSERT_TRUE(reader.open(servedList().wstring()));
    EXPECT_EQ(reader.readVersion(), L"2.5");
    reader.readItems();
    // The installed version's file comes last of the files: launchers put it in place last.
    const Fields expected[] = {
        {L"File", L"0", L"D41D8CD98F00B204E9800998ECF8427E", L"Test_mainfold\\empty.txt", L"empty.txt", L""},
        {L"File", L"5", L"5D41402ABC4B2A76B9719D911017C592",
         L"Test_mainfold\\\u6570\u636E\\\u8BF4\u660E (\u7B2C1\u7248).txt", L"\u8BF4\u660E (\u7B2C1\u7248).txt",
         L"\\\u6570\u636E"},
        {L"File", L"3", L"900150983CD24FB0D6963F7D28E17F72", L"Test_mainfold\\data\\Server.inf", L"Server.inf",
         L"\\data"},
        {L"2.5", L"5", L"E5C5E6DAE38B284E8CF0BD1FB0EFAC03", L"Test_mainfold\\\u8865\u4E01.pak", L"\u8865\u4E01.pak",
         L""},
    };
    ASSERT_EQ(reader.itemCount(), static_cast<std::int32_t>(std::size(expected)));
    for (const Fields& want : expected) {
        Fields got;
        ASSERT_TRUE(reader.nextItem(got.kind, got.sizeText, got.md5, got.listPath, got.fileName, got.directory));
        EXPECT_TRUE(got == want) << "entry " << &want - expected;
    }
}

TEST_F(LauncherRoundTrip, InstallationOfTheReleaseIsUpToDate) {
    UpdateEngine engine;
    engine.exeDir = installRelease();
    EXPECT_EQ(engine.checkFiles(), UpToDate);
    EXPECT_TRUE(engine.fileQueue.empty());
}

TEST_F(LauncherRoundTrip, ChangedFilesAndNewerPackagesAreFound) {
    UpdateEngine engine;
    engine.exeDir = installRelease();
    writeBytes(fs::path(engine.exeDir) / u8"\u6570\u636E/\u8BF4\u660E (\u7B2C1\u7248).txt", "changed");
    fs::remove(fs::path(engine.exeDir) / "data" / "Server.inf");
    engine.launchVersion = L"2.4";
    engine.localVersion = L"2.4";
    ASSERT_EQ(engine.checkPatches(), UpdatesFound);
    ASSERT_EQ(engine.patchQueue.size(), 1u);
    EXPECT_EQ(fixedTextView(engine.patchQueue[0].fileName), L"\u8865\u4E01.pak");
    EXPECT_EQ(fixedTextView(engine.patchQueue[0].directory), L"") << "packages lie where the patcher is started";

    ASSERT_EQ(engine.checkFiles(), UpdatesFound);
    std::vector<std::wstring> queued;
    for (const UpdateFileEntry& entry : engine.fileQueue) {
        queued.emplace_back(fixedTextView(entry.listPath));
    }
    EXPECT_EQ(queued, (std::vector<std::wstring>{L"Test_mainfold\\\u6570\u636E\\\u8BF4\u660E (\u7B2C1\u7248).txt",
                                                 L"Test_mainfold\\data\\Server.inf"}));
}

}  // namespace
