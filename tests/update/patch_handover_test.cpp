// Handing patch packages to the patcher (a stand-in that records how it was started).
#include <windows.h>

#include <gtest/gtest.h>

#include "common/path_text.h"
#include "common/text_codec.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_dir.h"
#include "update/update_engine.h"

namespace {

// Waits for the stand-in's report in folder and returns its two lines.
std::pair<std::wstring, std::wstring> startReport(const std::wstring& folder, const std::wstring& program) {
    const std::wstring file = folder + L"started-" + program + L".txt";
    for (int i = 0; i < 200 && !fileExists(file); ++i) {
        ::Sleep(50);
    }
    const std::wstring text = decodeBytes(readFileBytes(file), CP_UTF8);
    const std::size_t end = text.find(L'\n');
    if (end == std::wstring::npos) {
        return {};
    }
    return {text.substr(0, end), text.substr(end + 1, text.find(L'\n', end + 1) - end - 1)};
}

UpdateFileEntry entry(const std::wstring& line) {
    return makeEntry(parseItemLine(line, 0));
}

class PatchHandover : public testing::Test {
protected:
    void SetUp() override {
        engine.exeDir = dir.path();
        engine.host = &host;
    }
    TempDir dir;
    RecordingHost host;
    UpdateEngine engine;
};

TEST_F(PatchHandover, FirstPackageGoesToThePatcherAndTheLauncherEnds) {
    engine.patchQueue = {entry(L"1.26,patch\\a.pak,3,X"), entry(L"1.27,patch\\b.pak,3,Y")};
    EXPECT_EQ(engine.applyPatch(), Handover);
    EXPECT_EQ(host.calls(), (std::vector<std::wstring>{L"progress:1/2", L"quit"}));
    const auto [commandLine, directory] = startReport(dir.path(), L"clpenr.dll");
    EXPECT_EQ(commandLine, L" a.pak|");
    EXPECT_EQ(directory + L"\\", dir.path());
}

TEST_F(PatchHandover, EmptyQueueStartsNothing) {
    EXPECT_EQ(engine.applyPatch(), Handover);
    EXPECT_TRUE(host.calls().empty());
    ::Sleep(300);
    EXPECT_FALSE(fileExists(dir.path() + L"started-clpenr.dll.txt"));
}

TEST_F(PatchHandover, InstallationFilesInThePatchQueueArePassedOver) {
    engine.patchQueue = {entry(L"File,x.txt,3,X")};
    EXPECT_EQ(engine.applyPatch(), Handover);
    EXPECT_EQ(host.calls(), (std::vector<std::wstring>{L"progress:1/1"}));
}

// A launcher that ended without a patcher would leave the player with nothing on screen.
TEST_F(PatchHandover, MissingPatcherIsAFailureAndTheLauncherStays) {
    engine.patcherPath = dir.path() + L"clpenr.dll";
    engine.patchQueue = {entry(L"1.26,patch\\a.pak,3,X")};
    EXPECT_EQ(engine.applyPatch(), HandoverFailed);
    EXPECT_EQ(host.calls(), (std::vector<std::wstring>{L"progress:1/1"}));
}

// With a host that really ends the process, the launcher's exit code is 0.
class ExitingHost : public RecordingHost {
public:
    void quitProcess() override { ::ExitProcess(0); }
};

TEST(PatchHandoverDeathTest, EndsTheProcessWithExitCodeZero) {
    // The child process runs this body again from the start, so the folder has a fixed name
    // instead of a fresh one.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lobbex-handover-exit\\";
    EXPECT_EXIT(
        {
            ::CreateDirectoryW(folder.c_str(), nullptr);
            ExitingHost host;
            UpdateEngine engine;
            engine.exeDir = folder;
            engine.host = &host;
            engine.patchQueue = {entry(L"1.26,patch\\a.pak,3,X")};
            (void)engine.applyPatch();
            ::ExitProcess(3);  // not reached
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(startReport(folder, L"clpenr.dll").first, L" a.pak|");
    removeTree(folder);
}

}  // namespace
