// Downloading, verifying and replacing the files of a queue, against a real HTTP server.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "identity/md5.h"
#include "tests/support/http_test_server.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_dir.h"
#include "update/update_engine.h"

namespace {

const HttpResponse kRefused{0, "", -1, false, true};

std::wstring digestOf(const std::string& content) {
    return digestText(md5Of(content.data(), content.size()));
}

std::string urlPath(const std::string& folder, std::string listPath) {
    for (char& c : listPath) {
        c = c == '\\' ? '/' : c;
    }
    return "/" + folder + "/" + listPath;
}

class DownloadQueue : public testing::Test {
protected:
    void SetUp() override {
        engine.exeDir = dir.path();
        engine.updateBaseUrl = server.baseUrl();
        engine.host = &host;
        engine.timeoutMs = 2000;
    }

    // Queues an installation file whose published content is content.
    UpdateFileEntry& queueFile(const std::string& listPath, const std::string& content, UpdateQueue& queue) {
        const std::wstring line = L"File," + std::wstring(listPath.begin(), listPath.end()) + L"," +
                                  std::to_wstring(content.size()) + L"," + digestOf(content);
        queue.push_back(makeEntry(parseItemLine(line, 0)));
        engine.totalBytes += content.size();
        return queue.back();
    }
    UpdateFileEntry& queueFile(const std::string& listPath, const std::string& content) {
        return queueFile(listPath, content, engine.fileQueue);
    }

    HttpTestServer server;
    TempDir dir;
    RecordingHost host;
    UpdateEngine engine;
};

TEST_F(DownloadQueue, FetchesVerifiesAndPutsFilesInPlace) {
    queueFile("Test_mainfold\\res\\skin\\bkg.jpg", "new picture");
    queueFile("top.txt", "top level");
    server.serve(urlPath("GameClient", "Test_mainfold\\res\\skin\\bkg.jpg"), {200, "new picture"});
    server.serve(urlPath("GameClient", "top.txt"), {200, "top level"});
    writeFileBytes(dir.file(L"top.txt"), "old");

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"res\\skin\\bkg.jpg"), "new picture") << "folders are created";
    EXPECT_EQ(readFileBytes(dir.path() + L"top.txt"), "top level");
    EXPECT_FALSE(fileExists(dir.path() + L"res\\skin\\bkg.jpg.rkx"));
    EXPECT_FALSE(fileExists(dir.path() + L"top.txt.rkx"));
    EXPECT_EQ(engine.doneBytes, engine.totalBytes);
    EXPECT_TRUE(host.prompts.shown.empty());
}

TEST_F(DownloadQueue, CurrentFilesAreNeitherFetchedNorCounted) {
    UpdateFileEntry& lower = queueFile("a.txt", "current");
    for (wchar_t& c : lower.md5) {
        c = static_cast<wchar_t>(towlower(c));  // the comparison ignores case
    }
    writeFileBytes(dir.file(L"a.txt"), "current");
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(engine.doneBytes, 0);
}

TEST_F(DownloadQueue, ProgressIsShownInKibibytesBeforeAndAfterEachFile) {
    queueFile("a.bin", std::string(2048, 'a'));
    queueFile("b.bin", std::string(1024, 'b'));
    server.serve("/GameClient/a.bin", {200, std::string(2048, 'a')});
    server.serve("/GameClient/b.bin", {200, std::string(1024, 'b')});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(host.progress(), (std::vector<std::wstring>{L"0/3", L"2/3", L"2/3", L"3/3"}));
}

TEST_F(DownloadQueue, EmptyQueueIsDoneAtOnce) {
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(DownloadQueue, PatchPackagesComeFromTheVersionFolder) {
    engine.patchQueue.push_back(makeEntry(parseItemLine(L"1.26,patch\\p.pak,3," + digestOf("pak"), 0)));
    server.serve("/GameVersion/patch/p.pak", {200, "pak"});
    EXPECT_EQ(engine.downloadQueue(engine.patchQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"patch\\p.pak"), "pak");
}

TEST_F(DownloadQueue, ThreeFailedAttemptsThenSuccessNeedNoPrompt) {
    queueFile("a.txt", "abc");
    // Each attempt is one download of two tries.
    server.serveSequence("/GameClient/a.txt",
                         {kRefused, kRefused, kRefused, kRefused, kRefused, kRefused, HttpResponse{200, "abc"}});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_TRUE(host.prompts.shown.empty());
    EXPECT_EQ(readFileBytes(dir.path() + L"a.txt"), "abc");
}

TEST_F(DownloadQueue, FourFailedAttemptsAskWhetherToTryAgain) {
    queueFile("a.txt", "abc");
    std::vector<HttpResponse> script(8, kRefused);
    script.push_back({200, "abc"});
    server.serveSequence("/GameClient/a.txt", script);
    host.prompts.answers = {6};  // "是"

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    ASSERT_EQ(host.prompts.shown.size(), 1u);
    EXPECT_EQ(host.prompts.shown[0].title, L"错误提示");
    EXPECT_EQ(host.prompts.shown[0].text.rfind(L"下载文件错误,是否重新下载?\n错误代码：", 0), 0u);
    EXPECT_EQ(host.prompts.shown[0].style, 4u);
    EXPECT_EQ(readFileBytes(dir.path() + L"a.txt"), "abc");
}

TEST_F(DownloadQueue, AnythingButYesGivesUp) {
    for (unsigned answer : {1u /* close button */, 7u /* "否" */}) {
        SCOPED_TRACE(answer);
        engine.fileQueue.clear();
        queueFile("a.txt", "abc");
        server.serve("/GameClient/a.txt", kRefused);
        host.prompts.shown.clear();
        host.prompts.answers = {answer};
        EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FileDownloadFailed);
        EXPECT_EQ(host.prompts.shown.size(), 1u);
        EXPECT_FALSE(fileExists(dir.path() + L"a.txt"));
    }
}

TEST_F(DownloadQueue, DigestMismatchEndsTheQueueAndKeepsEarlierReplacements) {
    queueFile("first.txt", "first");
    queueFile("second.txt", "second");
    queueFile("third.txt", "third");
    server.serve("/GameClient/first.txt", {200, "first"});
    server.serve("/GameClient/second.txt", {200, "damaged"});
    server.serve("/GameClient/third.txt", {200, "third"});
    writeFileBytes(dir.file(L"second.txt"), "old second");

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), VersionError);
    EXPECT_EQ(readFileBytes(dir.path() + L"first.txt"), "first");
    EXPECT_EQ(readFileBytes(dir.path() + L"second.txt"), "old second");
    EXPECT_FALSE(fileExists(dir.path() + L"second.txt.rkx"));
    EXPECT_FALSE(fileExists(dir.path() + L"third.txt"));
    EXPECT_EQ(server.requestCount("/GameClient/third.txt"), 0);
}

// What an interrupted run left would get the new data appended and fail the digest.
TEST_F(DownloadQueue, StaleTemporaryFileIsDiscardedFirst) {
    queueFile("a.txt", "abc");
    server.serve("/GameClient/a.txt", {200, "abc"});
    writeFileBytes(dir.file(L"a.txt.rkx"), "left over from an interrupted run");
    ::SetFileAttributesW((dir.path() + L"a.txt.rkx").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"a.txt"), "abc");
}

TEST_F(DownloadQueue, ReadOnlyTargetIsReplaced) {
    queueFile("a.txt", "abc");
    server.serve("/GameClient/a.txt", {200, "abc"});
    const std::wstring target = dir.file(L"a.txt");
    writeFileBytes(target, "old");
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(target), "abc");
}

// A target that cannot be replaced is not counted as done: the queue ends with a version
// error, the old file stays and no temporary file is left behind.
TEST_F(DownloadQueue, TargetThatCannotBeReplacedIsAnError) {
    queueFile("a.txt", "abc");
    queueFile("b.txt", "b");
    server.serve("/GameClient/a.txt", {200, "abc"});
    server.serve("/GameClient/b.txt", {200, "b"});
    const std::wstring target = dir.file(L"a.txt");
    writeFileBytes(target, "old");
    UniqueFileHandle locked(
        ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), VersionError);
    EXPECT_EQ(engine.doneBytes, 0);
    locked.reset();
    EXPECT_EQ(readFileBytes(target), "old");
    EXPECT_FALSE(fileExists(target + L".rkx"));
    EXPECT_FALSE(fileExists(dir.path() + L"b.txt"));
}

TEST(CreateParentDirectories, CreatesEveryFolderOnTheWayButNotTheFileItself) {
    TempDir dir;
    const std::wstring file = dir.path() + L"\\a\\b\\c.txt.rkx";  // doubled separator as in the launcher
    createParentDirectories(file);
    EXPECT_TRUE(::GetFileAttributesW((dir.path() + L"a\\b").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(fileExists(file));
    createParentDirectories(dir.path() + L"a\\b");  // an existing folder: nothing to do
    EXPECT_TRUE(fileExists(dir.path() + L"a\\b"));
}

}  // namespace
