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

// For files the body is kept: their digest check rejects it.
TEST_F(HttpRequests, ErrorStatusForAFileStoresTheBody) {
    server.serve("/missing.bin", {404, "<html>nope</html>"});
    const std::wstring path = dir.file(L"missing.bin");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/missing.bin", path), 0);
    EXPECT_EQ(readFileBytes(path), "<html>nope</html>");
}

TEST_F(HttpRequests, BrokenConnectionKeepsWhatArrived) {
    server.serve("/cut.bin", {200, std::string(100000, 'c'), 5000});
    const std::wstring path = dir.file(L"cut.bin");
    EXPECT_EQ(engine.downloadFile(server.baseUrl() + L"/cut.bin", path), 0);
    EXPECT_EQ(readFileBytes(path), std::string(5000, 'c'));
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
