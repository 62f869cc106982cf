#include "update/list_path_rules.h"

#include <gtest/gtest.h>

namespace {

std::string narrow(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    }
    return bytes;
}

TEST(ListPathRules, ItemsThatStayPlainFilesInsideTheInstallation) {
    const std::pair<std::wstring, ItemFault> cases[] = {
        {L"File,Test_mainfold\\data\\Server.inf,3,X", ItemFault::None},
        {L"File,a..b\\c..txt,3,X", ItemFault::None},
        {L"File,\\rooted\\a.txt,3,X", ItemFault::None},  // the leading "\" is an empty name: stays inside
        {L"File,a\\\\b.txt,3,X", ItemFault::None},       // so is the one between doubled separators
        {L"File,.hidden\\ a.txt,3,X", ItemFault::None},  // leading dots and blanks are kept by Windows
        {L"File,\u6E38\u620F\\\u5927\u5385.pak,3,X", ItemFault::None},
        {L"File,CONSOLE.txt,3,X", ItemFault::None},          // a device name only as the whole base name
        {L"File,data\\patchlist.dat,3,X", ItemFault::None},  // the launcher's list lies at the top only
        {L"1.26,patch\\p.bin,3,X", ItemFault::None},
        // Out of the installation.
        {L"File,..\\evil.exe,3,X", ItemFault::BadName},
        {L"File,a\\..\\..\\evil.exe,3,X", ItemFault::BadName},
        {L"File,a/../../evil.exe,3,X", ItemFault::BadName},  // "/" separates names for Windows too
        {L"File,a\\..,3,X", ItemFault::BadName},
        {L"File,a\\.\\b.txt,3,X", ItemFault::BadName},
        {L"File,a\\...\\evil.exe,3,X", ItemFault::BadName},  // trailing dots are dropped by Windows
        {L"File,a\\.. \\evil.exe,3,X", ItemFault::BadName},
        {L"File,C:\\Windows\\evil.exe,3,X", ItemFault::BadName},
        {L"File,a\\b.txt:stream,3,X", ItemFault::BadName},
        {L"1.26,..\\p.bin,3,X", ItemFault::BadName},
        // Cut short where the file functions read it: they would see "..".
        {std::wstring(L"File,..\0x\\evil.dll,3,X", 22), ItemFault::ControlCharacter},
        {std::wstring(L"File,a.txt,3,ABC\0", 17), ItemFault::ControlCharacter},
        {L"File,a.txt,\t3,X", ItemFault::ControlCharacter},
        {L"Fi\rle,a.txt,3,X", ItemFault::ControlCharacter},
        // Names Windows does not keep as they are, or that name no file at all.
        {L"File,readme.,3,X", ItemFault::BadName},
        {L"File,bin \\a.dll,3,X", ItemFault::BadName},
        {L"File,bin\\,3,X", ItemFault::BadName},  // no file name
        {L"File", ItemFault::BadName},
        {L"File,NUL,3,X", ItemFault::BadName},
        {L"File,bin\\con.txt,3,X", ItemFault::BadName},
        {L"File,com1\\a.txt,3,X", ItemFault::BadName},
        {L"File,Lpt9.log,3,X", ItemFault::BadName},
        {L"File,COM\u00B9.txt,3,X", ItemFault::BadName},
        {L"File,a?.txt,3,X", ItemFault::BadName},
        {L"File,a*.txt,3,X", ItemFault::BadName},
        {L"1.26,p|q.pak,3,X", ItemFault::BadName},
        // The launcher's own names.
        {L"File,bin\\a.dll.rkx,3,X", ItemFault::BadName},
        {L"File,LobbexLauncher.exe.RKX-old,3,X", ItemFault::BadName},
        {L"File,a.rkx\\b.txt,3,X", ItemFault::BadName},
        {L"File,patchlist.dat,3,X", ItemFault::ListFileName},
        {L"File,Test_mainfold\\PATCHLIST.DAT.sig,3,X", ItemFault::ListFileName},
    };
    for (const auto& [line, fault] : cases) {
        SCOPED_TRACE(narrow(line));
        const PatchListItem item = parseItemLine(line, 0);
        EXPECT_EQ(itemFault(item), fault);
        EXPECT_EQ(isAcceptableItem(item), fault == ItemFault::None);
    }
}

TEST(ListPathRules, NameFaults) {
    const std::pair<std::wstring_view, NameFault> cases[] = {
        {L"a.txt", NameFault::None},
        {L"", NameFault::Empty},
        {L"a\x01", NameFault::ControlCharacter},
        {L"a\"b", NameFault::NotInWindowsNames},
        {L"a<b", NameFault::NotInWindowsNames},
        {L"a/b", NameFault::NotInWindowsNames},
        {L".", NameFault::DotsOnly},
        {L". .", NameFault::DotsOnly},
        {L"a ", NameFault::TrailingDotOrBlank},
        {L"aux .dat", NameFault::DeviceName},
        {L"CONOUT$", NameFault::DeviceName},
        {L"prn.tar.gz", NameFault::DeviceName},
        {L"COM0", NameFault::None},
        {L"LPT10", NameFault::None},
        {L"x.Rkx", NameFault::LauncherName},
    };
    for (const auto& [name, fault] : cases) {
        EXPECT_EQ(nameFault(name), fault) << narrow(name);
    }
}

TEST(ListPathRules, BlankLinesNameNothing) {
    EXPECT_TRUE(isBlankItem(parseItemLine(L"", 0)));
    EXPECT_TRUE(isBlankItem(parseItemLine(L",,,", 0)));
    EXPECT_TRUE(isBlankItem(parseItemLine(L"  ", 0)));
    EXPECT_FALSE(isBlankItem(parseItemLine(L"File", 0)));
    EXPECT_FALSE(isBlankItem(parseItemLine(L" ,a.txt", 0)));
}

TEST(ListPathRules, RefusesPathsLongerThanAnEntryHolds) {
    const std::wstring folder(100, L'd');
    // 259 characters of list path fit; 260 do not.
    const std::wstring fits = folder + L"\\" + folder + L"\\" + std::wstring(57, L'f');
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_TRUE(isAcceptableItem(parseItemLine(L"File," + fits + L",1,X", 0)));
    EXPECT_EQ(itemFault(parseItemLine(L"File," + fits + L"f,1,X", 0)), ItemFault::TooLong);

    PatchListItem item = parseItemLine(L"File,a.txt,1,X", 0);
    item.fileName.assign(260, L'f');
    EXPECT_EQ(itemFault(item), ItemFault::TooLong);
    item = parseItemLine(L"File,a.txt,1,X", 0);
    item.directory.assign(260, L'd');
    EXPECT_EQ(itemFault(item), ItemFault::TooLong);
}

}  // namespace
