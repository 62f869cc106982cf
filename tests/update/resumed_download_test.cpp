// Downloads on real networks: a cut transfer continued with a range, downloads left by an
// earlier run, several files at once, one connection for many requests, and a progress bar
// that moves inside a large file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/update/download_queue_fixture.h"
#include "update/url_downloader.h"

namespace {

// Bytes that differ from position to position, so that a piece in the wrong place shows.
std::string patterned(std::size_t size, unsigned seed = 1) {
    std::string bytes(size, '\0');
    unsigned value = seed;
    for (char& c : bytes) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    return bytes;
}

// The numbers of a "progress:<done>/<total>" value.
std::pair<long, long> progressNumbers(const std::wstring& value) {
    const std::size_t slash = value.find(L'/');
    return {std::stol(value.substr(0, slash)), std::stol(value.substr(slash + 1))};
}

TEST_F(DownloadQueue, CutTransferContinuesWithARangeAndIsPlacedWhole) {
    const std::string body = patterned(300000);
    queueFile("big.bin", body);
    HttpResponse whole{200, body};
    whole.ranges = true;
    whole.etag = "\"v2-300000\"";
    HttpResponse cut = whole;
    cut.closeAfterBytes = 200000;
    server.serveSequence("/GameClient/big.bin", {cut, whole});

    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_TRUE(readFileBytes(dir.path() + L"big.bin") == body);
    const std::vector<HttpRequestRecord> requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].range, "");
    EXPECT_EQ(requests[1].range, "bytes=200000-");
    EXPECT_EQ(requests[1].ifRange, "\"v2-300000\"") << "the validator of the first answer";
    EXPECT_EQ(requests[1].status, 206);
    EXPECT_LT(server.bodyBytesSent("/GameClient/big.bin"), body.size() * 3 / 2);
    EXPECT_FALSE(fileExists(dir.path() + L"big.bin.rkx"));
    EXPECT_FALSE(fileExists(dir.path() + L"big.bin.rkx-tag"));
    EXPECT_TRUE(host.prompts.shown.empty());
}

// A server that ignores ranges answers 200 with the whole file: the file starts again.
TEST_F(DownloadQueue, ServerThatIgnoresRangesStillGivesTheRightFile) {
    const std::string body = patterned(150000);
    queueFile("f.bin", body);
    server.serveSequence("/GameClient/f.bin", {{200, body, 100000}, {200, body}});
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_TRUE(readFileBytes(dir.path() + L"f.bin") == body);
    const std::vector<HttpRequestRecord> requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].range, "bytes=100000-");
    EXPECT_EQ(requests[1].ifRange, "") << "the first answer gave no validator";
    EXPECT_EQ(requests[1].status, 200);
}

// A download an earlier run left is continued, named by the validator kept beside it; one
// that belonged to another version fails its digest and is fetched once more whole.
TEST_F(DownloadQueue, DownloadsLeftByAnEarlierRun) {
    const std::string body = patterned(120000);
    struct Case {
        const char* name;
        std::string left;                 // what the earlier run left
        std::string validator;            // kept beside it
        std::vector<std::string> ranges;  // asked for, request by request
    };
    const Case cases[] = {
        {"this version's beginning", body.substr(0, 50000), "\"same\"", {"bytes=50000-"}},
        {"another version's beginning", patterned(50000, 7), "", {"bytes=50000-", ""}},
        {"a beginning under a changed validator", patterned(50000, 7), "\"old\"", {"bytes=50000-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir install;
        engine.exeDir = install.path();
        engine.fileQueue.clear();
        engine.doneBytes = 0;
        queueFile("pak\\f.bin", body);
        const std::string path = "/GameClient/pak/f.bin";
        HttpResponse answer{200, body};
        answer.ranges = true;
        answer.etag = "\"same\"";
        server.serve(path, answer);
        const std::size_t before = server.requests().size();
        writeFileBytes(install.file(L"pak\\f.bin.rkx"), c.left);
        if (!c.validator.empty()) {
            writeFileBytes(install.file(L"pak\\f.bin.rkx-tag"), c.validator);
        }

        EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
        EXPECT_TRUE(readFileBytes(install.path() + L"pak\\f.bin") == body);
        std::vector<std::string> ranges;
        const std::vector<HttpRequestRecord> requests = server.requests();
        for (std::size_t i = before; i < requests.size(); ++i) {
            ranges.push_back(requests[i].range);
        }
        EXPECT_EQ(ranges, c.ranges);
    }
}

// A download left whole is verified and used without a request; a wrong one is fetched again.
TEST_F(DownloadQueue, WholeDownloadLeftByAnEarlierRunIsUsedWhenItsDigestHolds) {
    queueFile("a.bin", "complete");
    queueFile("b.bin", "expected");
    server.serve("/GameClient/a.bin", {200, "complete"});
    server.serve("/GameClient/b.bin", {200, "expected"});
    writeFileBytes(dir.file(L"a.bin.rkx"), "complete");
    writeFileBytes(dir.file(L"b.bin.rkx"), "mistaken");
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"a.bin"), "complete");
    EXPECT_EQ(readFileBytes(dir.path() + L"b.bin"), "expected");
    EXPECT_EQ(server.requestCount("/GameClient/a.bin"), 0);
    EXPECT_EQ(server.requestCount("/GameClient/b.bin"), 1);
}

// The file on the server is shorter than what was kept of it: 416, then the whole file.
TEST(UrlDownloader, RangeBeyondTheEndIsAskedForWhole) {
    HttpTestServer server;
    TempDir dir;
    HttpResponse answer{200, "short"};
    answer.ranges = true;
    server.serve("/f.bin", answer);
    const std::wstring path = dir.file(L"f.bin.rkx");
    writeFileBytes(path, "a longer beginning");
    UrlDownloader downloader(DownloadOptions{2000});
    EXPECT_EQ(downloader.fetchRest(server.baseUrl() + L"/f.bin", path), FetchOk);
    EXPECT_EQ(readFileBytes(path), "short");
    EXPECT_FALSE(downloader.resumed());
    EXPECT_EQ(digestText(downloader.digest()), digestOf("short"));
    const std::vector<HttpRequestRecord> requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].range, "bytes=18-");
    EXPECT_EQ(requests[0].status, 416);
    EXPECT_EQ(requests[1].range, "");
}

// A continued download that fails keeps what arrived; an error page adds nothing to it.
TEST(UrlDownloader, FailedTriesOfAContinuedDownloadKeepWhatArrived) {
    HttpTestServer server;
    TempDir dir;
    const std::string body = patterned(100000);
    HttpResponse cut{200, body, 30000};
    cut.ranges = true;
    cut.etag = "\"e1\"";
    server.serveSequence("/f.bin", {cut, {404, "<html>not found</html>"}});
    const std::wstring path = dir.file(L"f.bin.rkx");
    UrlDownloader downloader(DownloadOptions{2000});
    EXPECT_EQ(downloader.fetchRest(server.baseUrl() + L"/f.bin", path), FetchIncomplete);
    EXPECT_TRUE(readFileBytes(path) == body.substr(0, 30000));
    EXPECT_EQ(readFileBytes(dir.path() + L"f.bin.rkx-tag"), "\"e1\"") << "kept for a later run";
    EXPECT_EQ(downloader.fetchRest(server.baseUrl() + L"/f.bin", path), FetchUrlFailed);
    EXPECT_TRUE(readFileBytes(path) == body.substr(0, 30000));
    EXPECT_EQ(server.requests()[1].ifRange, "\"e1\"");
}

// Several files at once, one of which fails every attempt of a series: one prompt while the
// others go on or wait, "是" goes on, "否" ends with nothing half-replaced.
TEST_F(DownloadQueue, SeveralFilesAtOnceWithOneThatFails) {
    for (unsigned answer : {6u /* "是" */, 7u /* "否" */}) {
        SCOPED_TRACE(answer);
        TempDir install;
        engine.exeDir = install.path();
        engine.fileQueue.clear();
        engine.totalBytes = 0;
        engine.doneBytes = 0;
        host.prompts.shown.clear();
        host.prompts.answers = {answer};
        std::vector<std::string> bodies;
        for (int i = 0; i < 6; ++i) {
            const std::string name = "f" + std::to_string(i) + ".bin";
            bodies.push_back(patterned(200000, static_cast<unsigned>(i + 10 * answer)));
            queueFile(name, bodies.back());
            HttpResponse slow{200, bodies.back()};
            slow.pieceDelayMs = 30;
            server.serve("/GameClient/" + name, slow);
        }
        queueFile("data\\Server.inf", "[Version]\r\nversion=2.0\r\n");
        server.serve("/GameClient/data/Server.inf", {200, "[Version]\r\nversion=2.0\r\n"});
        writeFileBytes(install.file(L"data\\Server.inf"), "[Version]\r\nversion=1.0\r\n");
        // Eight refused tries make the four attempts of a series; then the file comes.
        std::vector<HttpResponse> failing(8, kRefused);
        failing.push_back({200, bodies[2]});
        server.serveSequence("/GameClient/f2.bin", failing);

        const UpdateResult result = engine.downloadQueue(engine.fileQueue);
        EXPECT_EQ(host.prompts.shown.size(), 1u);
        if (answer == 6u) {
            EXPECT_EQ(result, FilesUpdated);
            for (int i = 0; i < 6; ++i) {
                EXPECT_TRUE(readFileBytes(install.path() + L"f" + std::to_wstring(i) + L".bin") == bodies[i]) << i;
            }
            EXPECT_EQ(readFileBytes(install.path() + L"data\\Server.inf"), "[Version]\r\nversion=2.0\r\n");
        } else {
            EXPECT_EQ(result, FileDownloadFailed);
            EXPECT_EQ(readFileBytes(install.path() + L"data\\Server.inf"), "[Version]\r\nversion=1.0\r\n");
            EXPECT_FALSE(fileExists(install.path() + L"f2.bin"));
            for (int i = 0; i < 6; ++i) {
                const std::wstring name = install.path() + L"f" + std::to_wstring(i) + L".bin";
                EXPECT_TRUE(!fileExists(name) || readFileBytes(name) == bodies[i]) << "whole or not there: " << i;
            }
        }
    }
    EXPECT_GE(server.mostAnswersAtOnce(), 2) << "the files were fetched at the same time";
    EXPECT_LE(server.mostAnswersAtOnce(), static_cast<int>(engine.transfers));
}

// The requests of a run share connections instead of opening one per file.
TEST_F(DownloadQueue, FilesShareConnectionsToTheServer) {
    server.setKeepAlive(true);
    for (int i = 0; i < 12; ++i) {
        const std::string name = "f" + std::to_string(i) + ".txt";
        queueFile(name, name);
        server.serve("/GameClient/" + name, {200, name});
    }
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    EXPECT_EQ(server.requests().size(), 12u);
    EXPECT_LE(server.connectionCount(), static_cast<int>(engine.transfers));
}

// The bar counts bytes as they arrive: it moves while one large file downloads.
TEST_F(DownloadQueue, ProgressMovesInsideALargeFile) {
    const std::string body = patterned(2 << 20);
    queueFile("big.bin", body);
    HttpResponse slow{200, body};
    slow.pieceDelayMs = 15;  // 32 pieces: about half a second
    server.serve("/GameClient/big.bin", slow);
    EXPECT_EQ(engine.downloadQueue(engine.fileQueue), FilesUpdated);
    const std::vector<std::wstring> progress = host.progress();
    ASSERT_FALSE(progress.empty());
    long inside = 0;
    long last = -1;
    for (const std::wstring& value : progress) {
        const auto [done, total] = progressNumbers(value);
        EXPECT_EQ(total, 2048);
        EXPECT_GE(done, last) << "never backwards";
        last = done;
        inside += done > 0 && done < total ? 1 : 0;
    }
    EXPECT_EQ(last, 2048);
    EXPECT_GE(inside, 2) << "values between nothing and the whole file";
}

}  // namespace
