// Whole update runs, from the configuration to the verdict, against a real HTTP server.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "identity/md5.h"
#include "tests/support/http_test_server.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_dir.h"
#include "update/status_texts.h"
#include "update/update_engine.h"

namespace {

using Texts = std::vector<std::wstring>;
const HttpResponse kRefused{0, "", -1, false, true};

std::string digestOf(const std::string& content) {
    const std::wstring text = digestText(md5Of(content.data(), content.size()));
    return std::string(text.begin(), text.end());
}

class UpdateRun : public testing::Test {
protected:
    void SetUp() override {
        install("data\\Launch.inf", "[Launch]\r\nversion=1.0\r\n");
        setLocalVersion("1.0");
    }

    void setLocalVersion(const std::string& version) {
        install("data\\Server.inf", "[Version]\r\nversion=" + version +
                                        "\r\n[ServerInfo]\r\nUpdateServer=" + narrow(server.baseUrl()) + "\r\n");
    }
    void install(const std::string& relative, const std::string& content) {
        writeFileBytes(dir.file(std::wstring(relative.begin(), relative.end())), content);
    }
    std::string installed(const std::string& relative) {
        return readFileBytes(dir.path() + std::wstring(relative.begin(), relative.end()));
    }
    // Publishes a file: its list line, and its content under GameClient/.
    std::string publishFile(const std::string& listPath, const std::string& content) {
        std::string url = "/GameClient/" + listPath;
        for (char& c : url) {
            c = c == '\\' ? '/' : c;
        }
        server.serve(url, {200, content});
        return "File," + listPath + "," + std::to_string(content.size()) + "," + digestOf(content) + "\r\n";
    }
    void publishList(const std::string& version, const std::string& items) {
        server.serve("/patchlist.dat", {200, "[VERSION]\r\n" + version + "\r\n[PatchList]\r\n" + items});
    }
    UpdateResult runUpdate() {
        engine.timeoutMs = 2000;
        engine.setupReportBaseUrl = L"http://127.0.0.1:1";
        engine.loadConfigFrom(&host, dir.path());
        return runAndFinish(engine);
    }
    static std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

    HttpTestServer server;
    TempDir dir;
    RecordingHost host;
    UpdateEngine engine;
};

TEST_F(UpdateRun, UpToDateInstallationChecksNoFiles) {
    setLocalVersion("2.0");
    publishList("2.0", publishFile("missing.txt", "never fetched"));
    EXPECT_EQ(runUpdate(), UpToDate);
    EXPECT_EQ(host.calls(), (Texts{L"state:下载版本文件..", L"state:正在校验版本...", L"state:已经是最新版本...",
                                   L"state:已经是最新版本,可以启动游戏", L"finish:1"}));
    EXPECT_FALSE(fileExists(dir.path() + L"missing.txt"));
    EXPECT_TRUE(fileExists(dir.path() + L"patchlist.dat")) << "the file check did not run";
}

TEST_F(UpdateRun, ChangedFilesAreUpdated) {
    install("data\\old.txt", "old");
    install("same.txt", "same");
    publishList("2.0", publishFile("Test_mainfold\\data\\old.txt", "new") + publishFile("same.txt", "same") +
                           publishFile("Test_mainfold\\new\\x.txt", "x"));
    EXPECT_EQ(runUpdate(), FilesUpdated);
    EXPECT_EQ(host.states(), (Texts{L"下载版本文件..", L"正在校验版本...", L"正在检测更新文件...",
                                    L"应用补丁文件完成，可以启动游戏..."}));
    EXPECT_EQ(host.calls().back(), L"finish:1");
    EXPECT_EQ(installed("data\\old.txt"), "new");
    EXPECT_EQ(installed("new\\x.txt"), "x");
    EXPECT_EQ(server.requestCount("/GameClient/same.txt"), 0);
    EXPECT_FALSE(fileExists(dir.path() + L"patchlist.dat")) << "the file check deletes the list";
}

TEST_F(UpdateRun, NewerServerVersionWithCurrentFilesIsUpToDate) {
    install("same.txt", "same");
    publishList("2.0", publishFile("same.txt", "same"));
    EXPECT_EQ(runUpdate(), UpToDate);
    EXPECT_EQ(host.states(),
              (Texts{L"下载版本文件..", L"正在校验版本...", L"已经是最新版本...", L"已经是最新版本,可以启动游戏"}));
    EXPECT_EQ(host.calls().back(), L"finish:1");
}

TEST_F(UpdateRun, NewerPatchIsHandedToThePatcher) {
    server.serve("/GameVersion/patch/p.pak", {200, "package"});
    publishList("2.0", "1.1,patch\\p.pak,7," + digestOf("package") + "\r\n" + publishFile("a.txt", "a"));
    EXPECT_EQ(runUpdate(), Handover);
    EXPECT_EQ(host.states(), (Texts{L"下载版本文件..", L"正在校验版本...", L"正在更新文件...", L"应用补丁文件..."}));
    EXPECT_EQ(host.calls().back(), L"quit");
    EXPECT_EQ(installed("patch\\p.pak"), "package");
    EXPECT_EQ(server.requestCount("/GameClient/a.txt"), 0);
    for (int i = 0; i < 200 && !fileExists(dir.path() + L"started-clpenr.dll.txt"); ++i) {
        ::Sleep(50);
    }
    EXPECT_EQ(decodeBytes(readFileBytes(dir.path() + L"started-clpenr.dll.txt"), CP_UTF8).substr(0, 8), L" p.pak|\n");
}

TEST_F(UpdateRun, UnreachableListEndsAfterThreeCalls) {
    server.serve("/patchlist.dat", kRefused);
    EXPECT_EQ(runUpdate(), ListDownloadFailed);
    EXPECT_EQ(host.calls(), (Texts{L"state:下载版本文件..", L"state:下载版本文件错误..."}));
    EXPECT_EQ(server.requestCount("/patchlist.dat"), 6) << "three calls of two tries";
}

TEST_F(UpdateRun, ErrorPageForTheListKeepsLogonRefused) {
    server.serve("/patchlist.dat", {404, "<html>Not Found</html>"});
    EXPECT_EQ(runUpdate(), ListDownloadFailed);
    EXPECT_EQ(host.states(), (Texts{L"下载版本文件..", L"下载版本文件错误..."}));
}

TEST_F(UpdateRun, ListFetchedOnTheThirdCall) {
    setLocalVersion("2.0");
    server.serveSequence("/patchlist.dat", {kRefused, kRefused, kRefused, kRefused,
                                            HttpResponse{200, "[VERSION]\r\n2.0\r\n[PatchList]\r\n"}});
    EXPECT_EQ(runUpdate(), UpToDate);
    EXPECT_EQ(host.states().front(), L"下载版本文件..");
    EXPECT_EQ(host.states()[1], L"正在校验版本...") << "the first text is shown once";
}

TEST_F(UpdateRun, DamagedDownloadIsAVersionError) {
    install("a.txt", "old");
    publishList("2.0", publishFile("a.txt", "new"));
    server.serve("/GameClient/a.txt", {200, "damaged"});
    EXPECT_EQ(runUpdate(), VersionError);
    EXPECT_EQ(host.states().back(), L"下载版本错误...");
    EXPECT_NE(host.calls().back(), L"finish:1");
    EXPECT_EQ(installed("a.txt"), "old");
}

TEST_F(UpdateRun, RefusedListIsAVersionError) {
    publishList("2.0", "File,..\\..\\outside.exe,3,ABC\r\n");
    EXPECT_EQ(runUpdate(), VersionError);
    EXPECT_EQ(host.states().back(), L"下载版本错误...");
}

TEST_F(UpdateRun, DeclinedRetryEndsTheProcess) {
    publishList("2.0", publishFile("a.txt", "a"));
    server.serve("/GameClient/a.txt", kRefused);
    host.prompts.answers = {7};
    EXPECT_EQ(runUpdate(), FileDownloadFailed);
    EXPECT_EQ(host.states().back(), L"下载文件错误...");
    EXPECT_EQ(host.calls().back(), L"quit");
}

TEST_F(UpdateRun, FinalTextIsSkippedWhileTheSkinIsNotReady) {
    setLocalVersion("2.0");
    publishList("2.0", "");
    host.skinReady = false;
    EXPECT_EQ(runUpdate(), UpToDate);
    EXPECT_EQ(host.calls(),
              (Texts{L"state:下载版本文件..", L"state:正在校验版本...", L"state:已经是最新版本...", L"finish:1"}));
}

}  // namespace
