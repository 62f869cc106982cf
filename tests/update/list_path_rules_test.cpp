#include "update/list_path_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ListPathRules, RefusesItemsThatLeaveTheInstallation) {
    const std::pair<std::wstring, bool> cases[] = {
        {L"File,Test_mainfold\\data\\Server.inf,3,X", true},
        {L"File,a\\.\\b.txt,3,X", true},
        {L"File,a..b\\c..txt,3,X", true},
        {L"File,\\rooted\\a.txt,3,X", true},  // the leading "\" is an empty component: stays inside
        {L"File,..\\evil.exe,3,X", false},
        {L"File,a\\..\\..\\evil.exe,3,X", false},
        {L"File,a/../../evil.exe,3,X", false},  // "/" separates components for Windows too
        {L"File,a\\..,3,X", false},
        {L"File,a\\...\\evil.exe,3,X", false},  // trailing dots are dropped by Windows
        {L"File,a\\.. \\evil.exe,3,X", false},
        {L"File,C:\\Windows\\evil.exe,3,X", false},
        {L"File,a\\b.txt:stream,3,X", false},
        {L"1.26,..\\p.bin,3,X", false},
    };
    for (const auto& [line, acceptable] : cases) {
        EXPECT_EQ(isAcceptableItem(parseItemLine(line, 0)), acceptable) << std::string(line.begin(), line.end());
    }
}

TEST(ListPathRules, RefusesPathsLongerThanAnEntryHolds) {
    const std::wstring folder(100, L'd');
    // 259 characters of list path fit; 260 do not.
    const std::wstring fits = folder + L"\\" + folder + L"\\" + std::wstring(57, L'f');
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_TRUE(isAcceptableItem(parseItemLine(L"File," + fits + L",1,X", 0)));
    EXPECT_FALSE(isAcceptableItem(parseItemLine(L"File," + fits + L"f,1,X", 0)));

    PatchListItem item = parseItemLine(L"File,a.txt,1,X", 0);
    item.fileName.assign(260, L'f');
    EXPECT_FALSE(isAcceptableItem(item));
    item = parseItemLine(L"File,a.txt,1,X", 0);
    item.directory.assign(260, L'd');
    EXPECT_FALSE(isAcceptableItem(item));
}

}  // namespace
