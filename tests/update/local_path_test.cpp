#include "update/local_path.h"

#include <gtest/gtest.h>

namespace {

TEST(LocalPath, EntryPathsAreJoinedAsTheyStand) {
    const UpdateFileEntry nested = makeEntry(parseItemLine(L"File,Test_mainfold\\res\\a.jpg,1,X", 0));
    EXPECT_EQ(entryLocalPath(L"C:\\Game\\", nested), L"C:\\Game\\\\res\\a.jpg");
    const UpdateFileEntry top = makeEntry(parseItemLine(L"File,readme.txt,1,X", 0));
    EXPECT_EQ(entryLocalPath(L"C:\\Game\\", top), L"C:\\Game\\\\readme.txt");
}

TEST(LocalPath, ExtendedLengthForms) {
    const std::pair<std::wstring_view, std::wstring_view> cases[] = {
        {L"C:\\Game\\\\res\\a.jpg", L"\\\\?\\C:\\Game\\res\\a.jpg"},
        {L"c:/Game/data/Server.inf", L"\\\\?\\c:\\Game\\data\\Server.inf"},
        {L"C:\\Game\\.\\bin\\..\\a.txt", L"\\\\?\\C:\\Game\\a.txt"},
        {L"C:\\..\\..\\a.txt", L"\\\\?\\C:\\a.txt"},  // never above the root
        {L"C:\\Game\\", L"\\\\?\\C:\\Game\\"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"\\\\server\\share\\Game\\a.txt", L"\\\\?\\UNC\\server\\share\\Game\\a.txt"},
        {L"\\\\?\\C:\\Game\\\\a.txt", L"\\\\?\\C:\\Game\\\\a.txt"},  // already in that form
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
        {L"relative\\a.txt", L"relative\\a.txt"},
        {L"C:relative", L"C:relative"},
        {L"", L""},
    };
    for (const auto& [path, extended] : cases) {
        EXPECT_EQ(extendedLengthPath(path), extended);
    }
}

}  // namespace
