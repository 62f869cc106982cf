// The engine's downloads against a real HTTP server on 127.0.0.1.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/http_test_server.h"
#include "tests/support/temp_dir.h"
#include "update/update_engine.h"
#include "update/url_downloader.h"

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class HttpRequests : public testing::Test {
protected:
    void SetUp() override {
        engine.exeDir = dir.path();
        engine.updateBaseUrl = server.baseUrl();
        engine.timeoutMs = 2000;
    }
    HttpTestServer server;
    TempDir dir;
    UpdateEngine engine;
};

const HttpResponse kRefused{0, "", -1, false, true};

TEST_F(HttpRequests, VersionFileIsFetchedFreshIntoTheInstallationFolder) {
    server.serve("/patchlist.dat", {200, "[VERSION]\r\n1.0\r\n"});
    const std::wstring list = dir.path() + L"patchlist.dat";
    writeFileBytes(list, "old content that must not stay");
    ::SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(engine.downloadPatchList(), 0);
    EXPECT_EQ(readFileBytes(list), "[VERSION]\r\n1.0\r\n");
    const std::vector<HttpRequestRecord> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].userAgent, "UrlTest");
}

TEST_F(HttpRequests, FileDownloadsAppendToWhatTheFileHolds) {
    server.serve("/a.bin", {200, "new"});
    const std::wstring path = dir.file(L"a.bin");
    writeFileBytes(path, "old-");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/a.bin", path), 0);
    EXPECT_EQ(readFileBytes(path), "old-new");
}

TEST_F(HttpRequests, BackslashesAreSentAsSlashes) {
    server.serve("/GameClient//bin/a.dll", {200, "x"});
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"\\GameClient\\\\bin\\a.dll", dir.file(L"a.dll")), 0);
    EXPECT_EQ(server.requestCount("/GameClient//bin/a.dll"), 1);
}

TEST_F(HttpRequests, AFailedTryIsFollowedByOnePauseAndASecondTry) {
    server.serveSequence("/f.bin", {kRefused, {200, "ok"}});
    const std::wstring path = dir.file(L"f.bin");
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/f.bin", path), 0);
    EXPECT_GE(millisecondsSince(start), 280);  // the pause, give or take the timer's grain
    EXPECT_EQ(server.requestCount("/f.bin"), 2);
    EXPECT_EQ(readFileBytes(path), "ok") << "a failed try writes nothing";
}

TEST_F(HttpRequests, TwoFailedTriesFailAfterTwoPauses) {
    server.serve("/f.bin", kRefused);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/f.bin", dir.file(L"f.bin")), 1);
    EXPECT_GE(millisecondsSince(start), 560);
    EXPECT_EQ(server.requestCount("/f.bin"), 2);
}

TEST_F(HttpRequests, EmptyBaseUrlCannotBeFetched) {
    engine.updateBaseUrl = L"";
    EXPECT_EQ(engine.downloadPatchList(), 1);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpRequests, ZeroLengthAnswerIsAnEmptyFile) {
    server.serve("/patchlist.dat", {200, ""});
    EXPECT_EQ(engine.downloadPatchList(), 0);
    EXPECT_TRUE(fileExists(dir.path() + L"patchlist.dat"));
    EXPECT_EQ(readFileBytes(dir.path() + L"patchlist.dat"), "");
}

// An error page is no version file: stored as one it would read as a list without items,
// that is as an up-to-date installation.
TEST_F(HttpRequests, ErrorStatusForTheVersionFileIsAFailedTry) {
    server.serve("/patchlist.dat", {404, "<html>404 Not Found</html>"});
    EXPECT_EQ(engine.downloadPatchList(), 1);
    EXPECT_EQ(server.requestCount("/patchlist.dat"), 2);
    EXPECT_EQ(readFileBytes(dir.path() + L"patchlist.dat"), "");
}

// An error page is not the file: kept, it would only fail its digest after the whole transfer,
// and end the run instead of going through the attempts and the retry prompt.
TEST_F(HttpRequests, StatusOtherThanSuccessIsAFailedTry) {
    for (int status : {404, 500, 503, 302, 416}) {
        SCOPED_TRACE(status);
        const std::string path = "/status" + std::to_string(status);
        server.serve(path, {status, "<html>error page</html>"});
        const std::wstring file = dir.file(L"status.bin");
        writeFileBytes(file, "old-");
        EXPECT_EQ(engine.downloadFile(server.baseUrl() + std::wstring(path.begin(), path.end()), file), 1);
        EXPECT_EQ(readFileBytes(file), "old-");
    }
}

TEST_F(HttpRequests, ServiceUnavailableOnceThenTheFile) {
    server.serveSequence("/busy.bin", {{503, "busy"}, {200, "file"}});
    const std::wstring path = dir.file(L"busy.bin");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/busy.bin", path), 0);
    EXPECT_EQ(readFileBytes(path), "file");
}

// A connection that ends before the announced length is a failed try, for files and for the
// version file alike; what arrived is taken back out of the file.
TEST_F(HttpRequests, CutTransferIsAFailedTryThatLeavesTheFileAsItWas) {
    server.serve("/cut.bin", {200, std::string(100000, 'c'), 5000});
    const std::wstring path = dir.file(L"cut.bin");
    writeFileBytes(path, "old-");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/cut.bin", path), 1);
    EXPECT_EQ(server.requestCount("/cut.bin"), 2);
    EXPECT_EQ(readFileBytes(path), "old-");

    server.serve("/patchlist.dat",
                 {200, "[VERSION]\r\n2.0\r\n[PatchList]\r\nFile,a.txt,3,X\r\nFile,b.txt,3,Y\r\n", 30});
    EXPECT_EQ(engine.downloadPatchList(), 1);
    EXPECT_EQ(readFileBytes(dir.path() + L"patchlist.dat"), "");
}

TEST_F(HttpRequests, CutOnceThenWholeGivesTheWholeFile) {
    const std::string body(200000, 'w');
    server.serveSequence("/w.bin", {{200, body, 70000}, {200, body}});
    const std::wstring path = dir.file(L"w.bin");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/w.bin", path), 0);
    EXPECT_TRUE(readFileBytes(path) == body) << "nothing of the cut try stays in front of the whole body";
}

// A version file beyond any real list is refused before it is read into memory.
TEST(UrlDownloader, BodyLongerThanAllowedIsAFailedTry) {
    HttpTestServer server;
    TempDir dir;
    server.serve("/fits", {200, std::string(1000, 'f')});
    server.serve("/long", {200, std::string(1001, 'l')});
    UrlDownloader downloader(DownloadOptions{2000, 1000});
    EXPECT_EQ(downloader.fetch(server.baseUrl() + L"/fits", dir.file(L"fits")), 0);
    downloader.reset();
    EXPECT_EQ(downloader.fetch(server.baseUrl() + L"/long", dir.file(L"long")), 6);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    downloader.reset();
    EXPECT_EQ(readFileBytes(dir.path() + L"long"), "");
}

// Chinese names go out in code page 936 whatever the system's code page, escaped, so that a
// character whose second byte is that of "\" survives.
TEST(UrlDownloader, UrlsAreCodePage936BytesEscaped) {
    EXPECT_EQ(downloadUrlBytes(L"http://h\\GameClient\\\u6570\u636E\\\u4E57.txt"),
              "http://h/GameClient/%CA%FD%BE%DD/%81%5C.txt");
    EXPECT_FALSE(downloadUrlBytes(L"http://h/\uD55C.txt").has_value()) << "Hangul has no code page 936 form";
}

TEST_F(HttpRequests, LargeFileArrivesWhole) {
    std::string body(5 * 1024 * 1024 + 123, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) {
        body[i] = static_cast<char>((i * 7919) >> 8);
    }
    server.serve("/large.bin", {200, body});
    const std::wstring path = dir.file(L"large.bin");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/large.bin", path), 0);
    EXPECT_TRUE(readFileBytes(path) == body);
}

// A stalled server ends a try after the time-out instead of hanging the run.
TEST_F(HttpRequests, StalledServerEndsATryAfterTheTimeout) {
    server.serve("/stall.bin", {200, "", -1, true});
    engine.timeoutMs = 1000;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/stall.bin", dir.file(L"stall.bin")), 1);
    EXPECT_LT(millisecondsSince(start), 20000);
}

// A URL that does not fit 259 bytes is refused, never cut short.
TEST(UrlDownloader, OverLongUrlIsAFailedTry) {
    HttpTestServer server;
    TempDir dir;
    const std::wstring prefix = server.baseUrl() + L"/";
    const std::wstring fits = prefix + std::wstring(259 - prefix.size(), L'a');
    const std::wstring tooLong = fits + L"b";
    // Cut to 259 bytes, the long URL would be the one that fits.
    server.serve("/" + std::string(259 - prefix.size(), 'a'), {200, "fits"});

    UrlDownloader downloader;
    EXPECT_EQ(downloader.fetch(fits, dir.file(L"fits.bin")), 0);
    downloader.reset();
    EXPECT_EQ(readFileBytes(dir.path() + L"fits.bin"), "fits");
    EXPECT_EQ(downloader.fetch(tooLong, dir.file(L"long.bin")), 4);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(UrlDownloader, TargetThatCannotBeCreatedFailsWithOne) {
    HttpTestServer server;
    server.serve("/a", {200, "a"});
    TempDir dir;
    UrlDownloader downloader;
    EXPECT_EQ(downloader.fetch(server.baseUrl() + L"/a", dir.path() + L"no-such-folder\\a"), 1);
    EXPECT_TRUE(server.requests().empty());
}

TEST(UrlDownloader, UnreachableServerFailsWithFour) {
    TempDir dir;
    UrlDownloader downloader;
    // Port 1 on loopback: nothing listens there.
    EXPECT_EQ(downloader.fetch(L"http://127.0.0.1:1/a", dir.file(L"a")), 4);
}

TEST_F(HttpRequests, HttpGetSendsTheUrlAsGivenAndDiscardsTheAnswer) {
    server.serve("/setuptg.aspx", {200, std::string(5000, 'r')});
    engine.httpGet(server.baseUrl() + L"/setuptg.aspx?id=7&machine=&sign=AB&type=1");
    const std::vector<HttpRequestRecord> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].query, "id=7&machine=&sign=AB&type=1");
    EXPECT_EQ(requests[0].userAgent, "UrlTest");
}

}  // namespace
