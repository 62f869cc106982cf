#include "settings/platform_reg_key.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A scratch product key under Software\KorvaGamePlatform, removed before and after each test.
class PlatformRegKeyTest : public ::testing::Test {
protected:
    const std::wstring product = L"LobbexTest" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring root = L"Software\\KorvaGamePlatform\\" + product;

    void SetUp() override { removeScratch(); }
    void TearDown() override { removeScratch(); }

    void removeScratch() { ::RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()); }

    bool exists(const std::wstring& relative) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, (root + L"\\" + relative).c_str(), 0, KEY_READ, &key) != 0) {
            return false;
        }
        ::RegCloseKey(key);
        return true;
    }
    void makeKey(const std::wstring& relative) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, (root + L"\\" + relative).c_str(), &key), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    void setValue(const std::wstring& relative, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, (root + L"\\" + relative).c_str(), name, type, data, size),
                  ERROR_SUCCESS);
    }
    void setString(const std::wstring& relative, const wchar_t* name, const std::wstring& text) {
        setValue(relative, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void setDword(const std::wstring& relative, const wchar_t* name, DWORD value) {
        setValue(relative, name, REG_DWORD, &value, sizeof value);
    }
};

TEST_F(PlatformRegKeyTest, OpenWithoutCreateLeavesAMissingKeyMissing) {
    CPlatformRegKey key;
    EXPECT_FALSE(key.Open(product.c_str(), L"Option\\Interface", false));
    EXPECT_EQ(key.get(), nullptr);
    EXPECT_FALSE(exists(L"Option"));
    EXPECT_EQ(key.QueryDword(L"InterfaceType", 5), 5u);
}

TEST_F(PlatformRegKeyTest, OpenCreatesOnlyWhenAsked) {
    CPlatformRegKey key;
    EXPECT_TRUE(key.Open(product.c_str(), L"Option\\Interface", true));
    EXPECT_TRUE(exists(L"Option\\Interface"));
    CPlatformRegKey again;
    EXPECT_TRUE(again.Open(product.c_str(), L"Option\\Interface", false));
}

TEST_F(PlatformRegKeyTest, OpenRefusesAPathOf256CharactersOrMore) {
    // "Software\KorvaGamePlatform\" + product + "\" + section: 27 + product + 1 + section.
    const std::size_t fixed = 27 + product.size() + 1;
    const std::wstring fits(255 - fixed, L's');
    const std::wstring tooLong(256 - fixed, L's');
    CPlatformRegKey key;
    EXPECT_TRUE(key.Open(product.c_str(), fits.c_str(), true));
    EXPECT_FALSE(key.Open(product.c_str(), tooLong.c_str(), true));
    EXPECT_EQ(key.get(), nullptr);
}

TEST_F(PlatformRegKeyTest, QueryDwordReturnsOnlyStoredDwords) {
    makeKey(L"Option\\Interface");
    setDword(L"Option\\Interface", L"InterfaceType", 3);
    setString(L"Option\\Interface", L"AsText", L"3");
    const BYTE bytes[4] = {1, 2, 3, 4};
    setValue(L"Option\\Interface", L"AsBinary", REG_BINARY, bytes, sizeof bytes);
    const ULONGLONG wide = 7;
    setValue(L"Option\\Interface", L"AsQword", REG_QWORD, &wide, sizeof wide);
    setValue(L"Option\\Interface", L"AsLongDword", REG_DWORD, &wide, sizeof wide);

    CPlatformRegKey key;
    ASSERT_TRUE(key.Open(product.c_str(), L"Option\\Interface", false));
    EXPECT_EQ(key.QueryDword(L"InterfaceType", 1), 3u);
    for (const wchar_t* name : {L"AsText", L"AsBinary", L"AsQword", L"AsLongDword", L"Missing"}) {
        EXPECT_EQ(key.QueryDword(name, 0xFFFFFFFF), 0xFFFFFFFFu) << static_cast<const void*>(name);
    }
}

TEST_F(PlatformRegKeyTest, QueryStringReadsStringsWithinTheCapacity) {
    makeKey(L"UserInfo\\7");
    setString(L"UserInfo\\7", L"UserAccount", L"\u73A9\u5BB6player");
    setString(L"UserInfo\\7", L"Long", std::wstring(16, L'g'));
    setValue(L"UserInfo\\7", L"Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    setValue(L"UserInfo\\7", L"Multi", REG_MULTI_SZ, L"a\0b\0", 10);
    setValue(L"UserInfo\\7", L"Bare", REG_SZ, L"abcd", 8);

    CPlatformRegKey key;
    ASSERT_TRUE(key.Open(product.c_str(), L"UserInfo\\7", false));
    wchar_t buffer[32] = {};
    EXPECT_EQ(key.QueryString(L"UserAccount", buffer, 32), 9u);
    EXPECT_STREQ(buffer, L"\u73A9\u5BB6player");

    // 16 characters and a terminator do not fit 16; the buffer stays as it was.
    wchar_t small[16];
    std::fill(std::begin(small), std::end(small), L'#');
    EXPECT_EQ(key.QueryString(L"Long", small, 16), 0u);
    EXPECT_EQ(small[0], L'#');
    wchar_t exact[17] = {};
    EXPECT_EQ(key.QueryString(L"Long", exact, 17), 17u);

    for (const wchar_t* name : {L"Expand", L"Multi", L"Missing"}) {
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        EXPECT_EQ(key.QueryString(name, buffer, 32), 0u);
        EXPECT_EQ(buffer[0], L'#');
    }

    // A value stored without a terminator is terminated, or refused when it fills the buffer.
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(key.QueryString(L"Bare", buffer, 32), 5u);
    EXPECT_STREQ(buffer, L"abcd");
    wchar_t four[4];
    std::fill(std::begin(four), std::end(four), L'#');
    EXPECT_EQ(key.QueryString(L"Bare", four, 4), 0u);
    EXPECT_EQ(four[3], L'#');
}

TEST_F(PlatformRegKeyTest, EnumeratesAndOpensSubkeys) {
    makeKey(L"UserInfo\\1001");
    makeKey(L"UserInfo\\1002");
    setString(L"UserInfo\\1002", L"GameID", L"G2");
    CPlatformRegKey users;
    ASSERT_TRUE(users.Open(product.c_str(), L"UserInfo", false));
    std::wstring names;
    wchar_t name[16];
    DWORD index = 0;
    while (users.EnumSubKey(index, name, 16)) {
        names += name;
        names += L";";
        ++index;
    }
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(name[0], L'\0');
    EXPECT_NE(names.find(L"1001;"), std::wstring::npos);
    EXPECT_NE(names.find(L"1002;"), std::wstring::npos);

    CPlatformRegKey account;
    HKEY handle = users.OpenSubKey(L"1002");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(account.Attach(handle), handle);
    wchar_t gameId[16] = {};
    EXPECT_EQ(account.QueryString(L"GameID", gameId, 16), 3u);
    EXPECT_STREQ(gameId, L"G2");
    EXPECT_EQ(users.OpenSubKey(L"404"), nullptr);
}

TEST_F(PlatformRegKeyTest, EnumSubKeyFailsWhenTheNameDoesNotFit) {
    makeKey(L"UserInfo\\12345678901234567890");
    CPlatformRegKey users;
    ASSERT_TRUE(users.Open(product.c_str(), L"UserInfo", false));
    wchar_t name[16];
    EXPECT_FALSE(users.EnumSubKey(0, name, 16));
    EXPECT_EQ(name[0], L'\0');
}

TEST_F(PlatformRegKeyTest, DeleteSubKeyTreeRemovesTwoLevelsOfChildren) {
    makeKey(L"UserInfo\\1001\\a\\deep");
    makeKey(L"UserInfo\\1001\\a\\deeper");
    makeKey(L"UserInfo\\1001\\b");
    setString(L"UserInfo\\1001\\a\\deep", L"v", L"x");
    makeKey(L"UserInfo\\1002");
    CPlatformRegKey users;
    ASSERT_TRUE(users.Open(product.c_str(), L"UserInfo", false));
    EXPECT_TRUE(users.DeleteSubKeyTree(L"1001"));
    EXPECT_FALSE(exists(L"UserInfo\\1001"));
    EXPECT_TRUE(exists(L"UserInfo\\1002"));
}

TEST_F(PlatformRegKeyTest, DeleteSubKeyTreeOfAMissingKeyChangesNothing) {
    makeKey(L"UserInfo\\1002");
    CPlatformRegKey users;
    ASSERT_TRUE(users.Open(product.c_str(), L"UserInfo", false));
    EXPECT_FALSE(users.DeleteSubKeyTree(L"1001"));
    EXPECT_TRUE(exists(L"UserInfo\\1002"));
    CPlatformRegKey none;
    EXPECT_FALSE(none.DeleteSubKeyTree(L"1002"));
}

}  // namespace
