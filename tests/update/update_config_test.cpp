#include <windows.h>

#include <gtest/gtest.h>

#include "common/path_text.h"
#include "identity/machine_id.h"
#include "identity/text_digest.h"
#include "tests/support/http_test_server.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_dir.h"
#include "update/update_engine.h"

namespace {

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(ExecutableFolder, IsThePathCutAfterItsLastBackslash) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Games\\Lobbex\\LobbexLauncher.exe", L"C:\\Games\\Lobbex\\"},
        {L"C:\\LobbexLauncher.exe", L"C:\\"},  // the root keeps its "\"
        {L"\\\\server\\share\\LobbexLauncher.exe", L"\\\\server\\share\\"},
        {L"\\LobbexLauncher.exe", L"\\LobbexLauncher.exe"},  // the first character is never a cut
        {L"LobbexLauncher.exe", L"LobbexLauncher.exe"},
    };
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(folderOfPath(path), folder) << narrow(path);
    }
    const std::wstring own = executableFolder();
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.back(), L'\\');
}

class UpdateConfig : public testing::Test {
protected:
    void SetUp() override { engine.setupReportBaseUrl = server.baseUrl(); }
    void writeProfile(const std::wstring& relative, const std::string& text) {
        writeFileBytes(dir.file(relative), text);
    }
    std::wstring frameFile() const { return dir.path() + L"data\\FrameVersion.ini"; }

    HttpTestServer server;
    TempDir dir;
    RecordingHost host;
    UpdateEngine engine;
};

TEST_F(UpdateConfig, ReadsVersionsAndServerBesideTheExecutable) {
    writeProfile(L"data\\Server.inf",
                 "[Version]\r\nversion=1.25\r\n[ServerInfo]\r\nUpdateServer=http://update.example/lobbex\r\n");
    writeProfile(L"data\\Launch.inf", "[LAUNCH]\r\nVERSION=1.3\r\n");  // names match without regard to case
    engine.loadConfigFrom(&host, dir.path());
    EXPECT_EQ(engine.host, &host);
    EXPECT_EQ(engine.exeDir, dir.path());
    EXPECT_EQ(engine.localVersion, L"1.25");
    EXPECT_EQ(engine.launchVersion, L"1.3");
    EXPECT_EQ(engine.updateBaseUrl, L"http://update.example/lobbex");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(UpdateConfig, MissingFilesAndKeysGiveEmptyTexts) {
    writeProfile(L"data\\Server.inf", "[Other]\r\nversion=9\r\n");
    engine.loadConfigFrom(&host, dir.path());
    EXPECT_EQ(engine.localVersion, L"");
    EXPECT_EQ(engine.launchVersion, L"");
    EXPECT_EQ(engine.updateBaseUrl, L"");
}

TEST_F(UpdateConfig, ValuesAreCutTo259Characters) {
    writeProfile(L"data\\Server.inf", "[ServerInfo]\r\nUpdateServer=http://" + std::string(300, 'u') + "\r\n");
    engine.loadConfigFrom(&host, dir.path());
    EXPECT_EQ(engine.updateBaseUrl.size(), 259u);
}

TEST_F(UpdateConfig, SetupReportIsSentOnceAndMarkedAsSent) {
    writeProfile(L"data\\FrameVersion.ini", "[GameVersion]\r\nSetupVersion=7\r\n");
    engine.loadConfigFrom(&host, dir.path());

    const std::wstring machine = machineId();
    const std::wstring sign = textDigest(L"7" + machine + L"mpkr@5307");
    const std::vector<HttpRequestRecord> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/setuptg.aspx");
    EXPECT_EQ(requests[0].query, "id=7&machine=" + narrow(machine) + "&sign=" + narrow(sign) + "&type=1");
    EXPECT_EQ(requests[0].userAgent, "UrlTest");
    EXPECT_EQ(::GetPrivateProfileIntW(L"GameVersion", L"SetupVersion", 99, frameFile().c_str()), 0u);

    UpdateEngine second;
    second.setupReportBaseUrl = server.baseUrl();
    second.loadConfigFrom(&host, dir.path());
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(UpdateConfig, FailedReportIsNotRepeated) {
    writeProfile(L"data\\FrameVersion.ini", "[GameVersion]\r\nSetupVersion=3\r\n");
    engine.setupReportBaseUrl = L"http://127.0.0.1:1";  // nobody listens
    engine.loadConfigFrom(&host, dir.path());
    EXPECT_EQ(::GetPrivateProfileIntW(L"GameVersion", L"SetupVersion", 99, frameFile().c_str()), 0u);
}

TEST_F(UpdateConfig, NoReportWhenNoneIsDue) {
    for (const char* frame : {"", "[GameVersion]\r\nSetupVersion=0\r\n", "[GameVersion]\r\nSetupVersion=abc\r\n",
                              "[GameVersion]\r\nOther=5\r\n"}) {
        SCOPED_TRACE(frame);
        if (*frame) {
            writeProfile(L"data\\FrameVersion.ini", frame);
        }
        engine.loadConfigFrom(&host, dir.path());
        EXPECT_TRUE(server.requests().empty());
        EXPECT_EQ(readFileBytes(frameFile()), frame) << "nothing is written";
    }
}

}  // namespace
