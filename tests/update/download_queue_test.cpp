// Downloading, verifying and replacing the files of a queue, against a real HTTP server.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "common/unique_handle.h"
#include "tests/update/download_queue_fixture.h"
#include "update/local_path.h"

namespace {

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

TEST_F(DownloadQueue, ProgressIsShownInKibibytesFromNothingToTheWhole) {
    queueFile("a.bin", std::string(2048, 'a'));
    queueFile("b.bin", std::string(1024, 'b'));
    server.serve("/GameClient/a.bin", {200, std::string(2048, 'a')});
    server.serve("/GameClient/b.bin", {200, std::string(1024, 'b')});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    const std::vector<std::wstring> progress = host.progress();
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), L"0/3");
    EXPECT_EQ(progress.back(), L"3/3");
    EXPECT_TRUE(std::adjacent_find(progress.begin(), progress.end()) == progress.end()) << "no value twice in a row";
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
    EXPECT_FALSE(fileExists(dir.path() + L"third.txt")) << "fetched at the same time, perhaps, but never placed";
    EXPECT_FALSE(fileExists(dir.path() + L"second.txt.rkx-tag"));
}

// A download left by an interrupted run that is longer than the file cannot be a beginning of
// it: it goes, read-only or not, and the file is fetched whole.
TEST_F(DownloadQueue, LeftDownloadLongerThanTheFileIsDiscarded) {
    queueFile("a.txt", "abc");
    server.serve("/GameClient/a.txt", {200, "abc"});
    writeFileBytes(dir.file(L"a.txt.rkx"), "left over from an interrupted run");
    ::SetFileAttributesW((dir.path() + L"a.txt.rkx").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"a.txt"), "abc");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].range, "") << "asked for whole";
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

TEST_F(DownloadQueue, ServiceUnavailableGoesThroughTheAttempts) {
    queueFile("a.txt", "abc");
    // Each attempt is one download of two tries.
    server.serveSequence("/GameClient/a.txt", {{503, "busy"}, {503, "busy"}, {503, "busy"}, HttpResponse{200, "abc"}});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"a.txt"), "abc");
    EXPECT_TRUE(host.prompts.shown.empty());
}

// The installed version is put in place last, whatever the list's order: a run that stops
// before the end leaves the old version, and the next start checks every file again.
TEST_F(DownloadQueue, InstalledVersionFilesArePutInPlaceLast) {
    queueFile("Test_mainfold\\data\\Server.inf", "[Version]\r\nversion=2.0\r\n");
    queueFile("data\\Launch.inf", "[Launch]\r\nversion=2.0\r\n");
    queueFile("a.txt", "a");
    queueFile("b.txt", "b");
    server.serve("/GameClient/Test_mainfold/data/Server.inf", {200, "[Version]\r\nversion=2.0\r\n"});
    server.serve("/GameClient/data/Launch.inf", {200, "[Launch]\r\nversion=2.0\r\n"});
    server.serve("/GameClient/a.txt", {200, "a"});
    server.serve("/GameClient/b.txt", kRefused);
    writeFileBytes(dir.file(L"data\\Server.inf"), "[Version]\r\nversion=1.0\r\n");
    host.prompts.answers = {7};  // "否"

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FileDownloadFailed);
    EXPECT_EQ(readFileBytes(dir.path() + L"a.txt"), "a");
    EXPECT_EQ(readFileBytes(dir.path() + L"data\\Server.inf"), "[Version]\r\nversion=1.0\r\n");
    EXPECT_FALSE(fileExists(dir.path() + L"data\\Launch.inf"));

    server.serve("/GameClient/b.txt", {200, "b"});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"data\\Server.inf"), "[Version]\r\nversion=2.0\r\n");
    EXPECT_EQ(readFileBytes(dir.path() + L"data\\Launch.inf"), "[Launch]\r\nversion=2.0\r\n");
    EXPECT_EQ(readFileBytes(dir.path() + L"b.txt"), "b");
    // Version files fetched whole by the first run were verified and used as they were.
    EXPECT_LE(server.requestCount("/GameClient/Test_mainfold/data/Server.inf"), 1);
    EXPECT_LE(server.requestCount("/GameClient/data/Launch.inf"), 1);
}

// A running program (the launcher updating itself) cannot be replaced, only renamed: it goes
// aside in its own folder, and a later run deletes it once it no longer runs.
TEST_F(DownloadQueue, RunningProgramIsRenamedAsideAndDeletedLater) {
    const std::wstring target = dir.file(L"bin\\Game.exe");
    ASSERT_TRUE(::CopyFileW((executableFolder() + L"clpenr.dll").c_str(), target.c_str(), FALSE));
    std::wstring commandLine = L"\"" + target + L"\" --stay";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(target.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 dir.path().c_str(), &startup, &started));
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    for (int i = 0; i < 200 && !fileExists(dir.path() + L"started-Game.exe.txt"); ++i) {
        ::Sleep(50);
    }
    ASSERT_TRUE(fileExists(dir.path() + L"started-Game.exe.txt"));
    ASSERT_FALSE(::DeleteFileW(target.c_str())) << "Windows keeps a running program's file";

    queueFile("bin\\Game.exe", "the new program");
    server.serve("/GameClient/bin/Game.exe", {200, "the new program"});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(target), "the new program");
    const std::wstring aside = target + L".rkx-old";
    EXPECT_TRUE(fileExists(aside));
    EXPECT_FALSE(fileExists(target + L".rkx"));

    removeAsideFiles(dir.path());
    EXPECT_TRUE(fileExists(aside)) << "still running: kept for a later run";
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 10000);
    process.reset();
    thread.reset();
    removeAsideFiles(dir.path());
    EXPECT_FALSE(fileExists(aside));
    EXPECT_FALSE(fileExists(dir.path() + L"asides.rkx-list"));
    EXPECT_EQ(readFileBytes(target), "the new program");
}

// A power cut between the two renames leaves the program only under its aside name: the next
// run puts it back instead of deleting it.
TEST(AsideFiles, ProgramFoundOnlyAsideIsPutBack) {
    TempDir dir;
    writeFileBytes(dir.file(L"bin\\Game.exe.rkx-old"), "program");
    writeFileBytes(dir.file(L"Other.exe.rkx-old2"), "old");
    writeFileBytes(dir.file(L"Other.exe"), "new");
    writeFileBytes(dir.file(L"kept.txt.rkx-old"), "not recorded: not ours to delete");
    writeFileBytes(dir.file(L"asides.rkx-list"), "bin\\Game.exe.rkx-old\nOther.exe.rkx-old2\n..\\x.rkx-old\n");
    removeAsideFiles(dir.path());
    EXPECT_EQ(readFileBytes(dir.path() + L"bin\\Game.exe"), "program");
    EXPECT_FALSE(fileExists(dir.path() + L"bin\\Game.exe.rkx-old"));
    EXPECT_FALSE(fileExists(dir.path() + L"Other.exe.rkx-old2"));
    EXPECT_EQ(readFileBytes(dir.path() + L"Other.exe"), "new");
    EXPECT_TRUE(fileExists(dir.path() + L"kept.txt.rkx-old"));
    EXPECT_FALSE(fileExists(dir.path() + L"asides.rkx-list"));
}

// A deep installation folder: paths beyond MAX_PATH are fetched, verified and put in place
// instead of failing every attempt.
TEST_F(DownloadQueue, PathsLongerThanMaxPath) {
    engine.exeDir = dir.path() + std::wstring(120, L'i') + L"\\" + std::wstring(60, L'j') + L"\\";
    const std::string listPath = "Test_mainfold\\res\\a-folder-of-the-game\\another-folder\\a-long-file-name.txt";
    queueFile(listPath, "deep");
    server.serve(urlPath("GameClient", listPath), {200, "deep"});
    const std::wstring target = engine.localPath(engine.fileQueue.front());
    ASSERT_GT(target.size(), static_cast<std::size_t>(MAX_PATH));

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(extendedLengthPath(target)), "deep");
    EXPECT_TRUE(host.prompts.shown.empty());
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(server.requests().size(), 1u) << "the second time it is current";
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
