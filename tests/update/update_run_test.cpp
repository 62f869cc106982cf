// Whole update runs, from the configuration to the verdict, against a real HTTP server.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "identity/md5.h"
#include "tests/support/http_test_server.h"
#include "tests/support/recording_host.h"
#include "tests/support/signed_list.h"
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
    UpdateResult runUpdate() { return runUpdate(engine, host); }
    // A run of its own, as at the next start of the launcher.
    UpdateResult runUpdate(UpdateEngine& run, RecordingHost& runHost) {
        run.timeoutMs = 2000;
        run.setupReportBaseUrl = L"http://127.0.0.1:1";
        run.loadConfigFrom(&runHost, dir.path());
        return runAndFinish(run);
    }
    // Nothing but the installation's configuration and the list the run leaves behind.
    bool onlyConfigurationInstalled() {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((dir.path() + L"*").c_str(), &data);
        bool only = true;
        do {
            const std::wstring name = data.cFileName;
            only = only && (name == L"." || name == L".." || name == L"data" || name == L"patchlist.dat");
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        return only;
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

// A list cut short in transfer is no list: read as far as it goes it would check fewer files
// and let the player log on.
TEST_F(UpdateRun, ListCutOnEveryTryKeepsLogonRefused) {
    install("a.txt", "old");
    const std::string list = "[VERSION]\r\n2.0\r\n[PatchList]\r\n" + publishFile("a.txt", "new");
    server.serve("/patchlist.dat", {200, list, static_cast<long>(list.size() - 10)});
    EXPECT_EQ(runUpdate(), ListDownloadFailed);
    EXPECT_EQ(host.states().back(), L"下载版本文件错误...");
    EXPECT_NE(host.calls().back(), L"finish:1");
    EXPECT_EQ(server.requestCount("/GameClient/a.txt"), 0);
    EXPECT_EQ(installed("a.txt"), "old");
}

TEST_F(UpdateRun, ListCutOnceIsFetchedWholeOnTheRetry) {
    install("a.txt", "old");
    const std::string list = "[VERSION]\r\n2.0\r\n[PatchList]\r\n" + publishFile("a.txt", "new a") +
                             publishFile("b.txt", "new b") + publishFile("last.txt", "the last one");
    // Cut right after the first file's line: read as far as it went, the list had one file.
    const long firstLine = static_cast<long>(list.find("File,b.txt"));
    server.serveSequence("/patchlist.dat", {{200, list, firstLine}, {200, list}});
    EXPECT_EQ(runUpdate(), FilesUpdated);
    EXPECT_EQ(installed("a.txt"), "new a");
    EXPECT_EQ(installed("b.txt"), "new b");
    EXPECT_EQ(installed("last.txt"), "the last one");
}

TEST_F(UpdateRun, RunStoppedMidQueueKeepsTheOldVersionAndTheNextRunCompletes) {
    const std::string newServerInf =
        "[Version]\r\nversion=2.0\r\n[ServerInfo]\r\nUpdateServer=" + narrow(server.baseUrl()) + "\r\n";
    // The version file comes first in this list; it is put in place last all the same.
    publishList("2.0", publishFile("Test_mainfold\\data\\Server.inf", newServerInf) + publishFile("a.txt", "a") +
                           publishFile("b.txt", "b"));
    server.serve("/GameClient/b.txt", kRefused);
    host.prompts.answers = {7};  // "否": the player gives up
    EXPECT_EQ(runUpdate(), FileDownloadFailed);
    EXPECT_EQ(host.calls().back(), L"quit");
    EXPECT_NE(installed("data\\Server.inf"), newServerInf);

    server.serve("/GameClient/b.txt", {200, "b"});
    UpdateEngine next;
    RecordingHost nextHost;
    EXPECT_EQ(runUpdate(next, nextHost), FilesUpdated) << "the old version makes the next start check the files";
    EXPECT_EQ(installed("data\\Server.inf"), newServerInf);
    EXPECT_EQ(installed("b.txt"), "b");
    EXPECT_EQ(nextHost.calls().back(), L"finish:1");
}

// A list with one item that is no plain file inside the installation is refused whole: nothing
// is fetched and nothing is written.
TEST_F(UpdateRun, UnsafeEntriesRefuseTheWholeList) {
    const std::string unsafe[] = {
        std::string("File,..\0x\\evil.dll,3,X\r\n", 24),  // the file functions would stop at the NUL
        "File,bin\\NUL.dll,3,X\r\n",
        "File,bin\\com1.txt,3,X\r\n",
        "File,readme.txt.,3,X\r\n",
        "File,bin \\a.dll,3,X\r\n",
        "File,bin\\,3,X\r\n",
        "File,a.txt.rkx,3,X\r\n",
        "1.9,p\\patch.pak.rkx,3,X\r\n",
    };
    for (const std::string& bad : unsafe) {
        SCOPED_TRACE(bad);
        UpdateEngine run;
        RecordingHost runHost;
        publishList("2.0", publishFile("a.txt", "a") + bad + publishFile("z.txt", "z"));
        EXPECT_EQ(runUpdate(run, runHost), VersionError);
        EXPECT_EQ(runHost.states().back(), L"下载版本错误...");
        EXPECT_NE(runHost.calls().back(), L"finish:1");
        EXPECT_EQ(server.requestCount("/GameClient/a.txt") + server.requestCount("/GameClient/z.txt"), 0);
        EXPECT_TRUE(onlyConfigurationInstalled());
    }
}

// The list's names are code page 936 whatever the system's code page; a character whose second
// byte is that of "\" stays one character on its way to the server.
TEST_F(UpdateRun, ChineseNameWithTheBackslashByteIsFetchedAndPlaced) {
    const std::string name = "\x81\x5C.txt";  // U+4E57 in code page 936
    server.serve("/GameClient/" + name, {200, "chinese"});
    publishList("2.0", "File," + name + ",7," + digestOf("chinese") + "\r\n");
    EXPECT_EQ(runUpdate(), FilesUpdated);
    EXPECT_EQ(readFileBytes(dir.path() + L"\u4E57.txt"), "chinese");
}

// The patcher gets a package only when it was downloaded whole; a launcher without a patcher
// says so and stays.
TEST_F(UpdateRun, PatchWayEndsWithATextWhenThereIsNothingToHandOver) {
    {
        SCOPED_TRACE("damaged package");
        UpdateEngine run;
        RecordingHost runHost;
        server.serve("/GameVersion/patch/p.pak", {200, "damaged"});
        publishList("2.0", "1.1,patch\\p.pak,7," + digestOf("package") + "\r\n");
        EXPECT_EQ(runUpdate(run, runHost), VersionError);
        EXPECT_EQ(runHost.states().back(), L"下载版本错误...");
        EXPECT_NE(runHost.calls().back(), L"quit");
    }
    {
        SCOPED_TRACE("declined retry");
        UpdateEngine run;
        RecordingHost runHost;
        server.serve("/GameVersion/patch/p.pak", kRefused);
        runHost.prompts.answers = {7};
        EXPECT_EQ(runUpdate(run, runHost), FileDownloadFailed);
        EXPECT_EQ(runHost.states().back(), L"下载文件错误...");
    }
    {
        SCOPED_TRACE("missing patcher");
        UpdateEngine run;
        RecordingHost runHost;
        run.patcherPath = dir.path() + L"clpenr.dll";
        server.serve("/GameVersion/patch/p.pak", {200, "package"});
        EXPECT_EQ(runUpdate(run, runHost), HandoverFailed);
        EXPECT_EQ(runHost.states(), (Texts{L"下载版本文件..", L"正在校验版本...", L"正在更新文件...",
                                           L"应用补丁文件...", L"应用补丁文件错误..."}));
        EXPECT_NE(runHost.calls().back(), L"quit");
        EXPECT_NE(runHost.calls().back(), L"finish:1");
    }
    EXPECT_FALSE(fileExists(dir.path() + L"started-clpenr.dll.txt"));
}

// A list far larger than any installation's is refused, not read into memory.
TEST_F(UpdateRun, OversizedListIsRefused) {
    engine.maxListBytes = 100;
    publishList("2.0", std::string(200, '#'));
    EXPECT_EQ(runUpdate(), ListDownloadFailed);
    EXPECT_EQ(host.states().back(), L"下载版本文件错误...");
    EXPECT_EQ(readFileBytes(dir.path() + L"patchlist.dat"), "");
}

// With release keys built in, the launcher acts only on a list that one of them signed.
class SignedUpdateRun : public UpdateRun {
protected:
    void SetUp() override {
        UpdateRun::SetUp();
        server.serve("/GameClient/bin/GameCore.dll", {200, std::string(signed_list::kFileContent)});
        server.serve("/patchlist.dat", {200, std::string(signed_list::kList)});
    }
    UpdateResult runWithKeys(std::vector<P256PublicKey> keys) {
        engine.releaseKeys = std::move(keys);
        return runUpdate();
    }
};

TEST_F(SignedUpdateRun, ASignedListIsInstalled) {
    using namespace signed_list;
    struct Case {
        std::vector<P256PublicKey> keys;
        std::string signature;
    };
    const Case cases[] = {{{kKeyA}, kSignatureByA}, {{kKeyA, kKeyB}, kSignatureByB}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.size());
        UpdateEngine run;
        RecordingHost runHost;
        run.releaseKeys = c.keys;
        (void)deleteFileEvenReadOnly(dir.path() + L"bin\\GameCore.dll");
        server.serve("/patchlist.dat.sig", {200, c.signature});
        EXPECT_EQ(runUpdate(run, runHost), FilesUpdated);
        EXPECT_EQ(installed("bin\\GameCore.dll"), kFileContent);
        EXPECT_EQ(runHost.calls().back(), L"finish:1");
        EXPECT_FALSE(fileExists(dir.path() + L"patchlist.dat.sig"));
    }
}

TEST_F(SignedUpdateRun, AListThatIsNotSignedIsRefusedWhole) {
    using namespace signed_list;
    std::string changedDigest(kList);
    changedDigest[changedDigest.find("8B1A")] = '9';
    struct Case {
        const char* what;
        std::string list;
        HttpResponse signature;
    };
    const Case cases[] = {
        {"no signature", std::string(kList), {404, "<html>Not Found</html>"}},
        {"an empty signature", std::string(kList), {200, ""}},
        {"a signature cut short", std::string(kList), {200, kSignatureByA.substr(0, 40)}},
        {"another key's signature", std::string(kList), {200, kSignatureByB}},
        {"a digest changed after signing", changedDigest, {200, kSignatureByA}},
        {"a file added after signing", std::string(kList) + publishFile("evil.dll", "evil"), {200, kSignatureByA}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UpdateEngine run;
        RecordingHost runHost;
        run.releaseKeys = {kKeyA};
        setLocalVersion("1.0");
        server.serve("/patchlist.dat", {200, c.list});
        server.serve("/patchlist.dat.sig", c.signature);
        const int listRequests = server.requestCount("/patchlist.dat");
        EXPECT_EQ(runUpdate(run, runHost), VersionError);
        EXPECT_EQ(runHost.states().back(), L"下载版本错误...");
        EXPECT_NE(runHost.calls().back(), L"finish:1");
        EXPECT_EQ(server.requestCount("/patchlist.dat") - listRequests, 3) << "fetched again on every call";
        EXPECT_EQ(server.requestCount("/GameClient/bin/GameCore.dll") + server.requestCount("/GameClient/evil.dll"), 0);
        EXPECT_FALSE(fileExists(dir.path() + L"patchlist.dat")) << "an unsigned list is not left to be read";
        EXPECT_TRUE(onlyConfigurationInstalled());
    }
}

// Published while the launcher fetched it: the new list with the old release's signature.
TEST_F(SignedUpdateRun, AListSwitchedBetweenItAndItsSignatureIsFetchedAgain) {
    using namespace signed_list;
    server.serveSequence("/patchlist.dat", {{200, "[VERSION]\r\n3.0\r\n[PatchList]\r\n"}, {200, std::string(kList)}});
    server.serve("/patchlist.dat.sig", {200, kSignatureByA});
    EXPECT_EQ(runWithKeys({kKeyA}), FilesUpdated);
    EXPECT_EQ(server.requestCount("/patchlist.dat"), 2);
    EXPECT_EQ(installed("bin\\GameCore.dll"), kFileContent);
}

TEST_F(SignedUpdateRun, ALauncherWithoutKeysAsksForNoSignature) {
    EXPECT_EQ(runWithKeys({}), FilesUpdated);
    EXPECT_EQ(server.requestCount("/patchlist.dat.sig"), 0);
}

}  // namespace
