// The window's small rules: password strength, account list entries, web addresses, clicks.
#include <gtest/gtest.h>

#include "window/account_index.h"
#include "window/click_table.h"
#include "window/password_strength.h"
#include "window/web_urls.h"

namespace {

TEST(PasswordStrength, CountsCharacterClassesFromSixCharactersOn) {
    const std::pair<std::wstring, int> cases[] = {
        {L"", 0},        {L"aB3$x", 0},  // fewer than six: 0 whatever they hold
        {L"abcdef", 1},  {L"ABCDEF", 1}, {L"123456", 1}, {L"\u4E2D\u6587\u5BC6\u7801\u5BC6\u7801", 1},
        {L"abc123", 2},  {L"abcDEF", 2}, {L"abcde!", 2}, {L"abCD12", 3},
        {L"aB3$xyz", 3},  // all four classes still give 3
    };
    for (const auto& [text, strength] : cases) {
        EXPECT_EQ(passwordStrength(text), strength) << std::string(text.begin(), text.end());
    }
}

TEST(AccountIndex, EntryNamesCarryTheRecordIndex) {
    EXPECT_EQ(accountEntryName(7), L"AccountsCount_Index_7");
    const std::pair<std::wstring, int> cases[] = {
        {L"AccountsCount_Index_0", 0},    {L"AccountsCount_Index_254", 254}, {L"AccountsCount_Index_256", 0},
        {L"AccountsCount_Index_x", 0},    {L"AccountsCount_Index_", 0},      {L"short", 0},
        {L"XXXXXXXXXXXXXXXXXXXX12", 12},  // only the prefix's length is dropped, not its text
        {L"AccountsCount_Index_-1", 255},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(accountIndexFromName(name), index) << std::string(name.begin(), name.end());
    }
}

TEST(WebUrls, LinksKeepTheirSlashes) {
    const std::wstring base = L"http://www.example.cn";
    const std::wstring chat = L"http://chat.example/contact";
    const std::pair<int, std::wstring> cases[] = {
        {1, L"http://www.example.cn"},
        {2, L"http://www.example.cn//Register.aspx"},
        {3, L"http://www.example.cn//Pay/Pay.aspx"},
        {4, chat},
        {5, L"http://www.example.cn/Member/ReLogonPass.aspx"},
        {0, L""},
        {6, L""},
    };
    for (const auto& [kind, url] : cases) {
        EXPECT_EQ(webLinkUrl(kind, base, chat), url) << kind;
    }
    EXPECT_EQ(qqLogonPageUrl(base), L"http://www.example.cn//qlogin.aspx");
    EXPECT_EQ(weChatLogonPageUrl(base), L"http://www.example.cn//wxlogin.aspx");
    EXPECT_EQ(registerPageUrl(base), L"http://www.example.cn//Register.aspx");
}

TEST(WebUrls, AdvertisementCarriesPositionAndColourSkin) {
    const std::wstring base = L"http://w";
    EXPECT_EQ(adsPageUrl(base, 12, 340, 3, 0xFFFFFFFFu),
              L"http://w//ads/LogonLogo.aspx?point=12,340&skinType=0&dwColor=2");
    EXPECT_EQ(adsPageUrl(base, 0, 0, 0xFFFF, 0xFFFFFFFFu),
              L"http://w//ads/LogonLogo.aspx?point=0,0&skinType=1&dwColor=-1");
    EXPECT_EQ(adsPageUrl(base, 5, 6, 0xFFFF, 0x80112233u),
              L"http://w//ads/LogonLogo.aspx?point=5,6&skinType=1&dwColor=-2146360781");
    EXPECT_EQ(adsPageUrl(base, 5, 6, 0xFFFF, 0x00112233u),
              L"http://w//ads/LogonLogo.aspx?point=5,6&skinType=1&dwColor=1122867");
    EXPECT_EQ(adsPageUrl(base, 5, 6, 0, 0u), L"http://w//ads/LogonLogo.aspx?point=5,6&skinType=0&dwColor=-1");
}

TEST(WebUrls, AreCutAtTheirBufferSize) {
    EXPECT_EQ(qqLogonPageUrl(std::wstring(300, L'b')).size(), 255u);
}

TEST(ClickTable, NamesMatchWithoutRegardToCase) {
    const std::pair<std::wstring, ClickAction> cases[] = {
        {L"CloseWindow", ClickAction::CloseWindow},
        {L"closewindow", ClickAction::CloseWindow},
        {L"CLOSEWINDOW", ClickAction::CloseWindow},
        {L"DeletAccount", ClickAction::ForgetAccount},
        {L"MinWindow", ClickAction::Minimise},
        {L"WebIndex", ClickAction::OpenHomePage},
        {L"RegisterTop", ClickAction::ShowRegistrationFromTop},
        {L"Pay", ClickAction::OpenPaymentPage},
        {L"QQOnline", ClickAction::OpenServiceChat},
        {L"Logon", ClickAction::Logon},
        {L"Register", ClickAction::ShowRegistration},
        {L"register_ok", ClickAction::ConfirmRegistration},
        {L"Register_Clost", ClickAction::CloseRegistration},
        {L"Logon-Teb", ClickAction::AccountLogonTab},
        {L"QQLogon", ClickAction::ShowQQLogon},
        {L"WeiLogon", ClickAction::ShowWeChatLogon},
        {L"But_Ok", ClickAction::NewVerifyCode},
        {L"Option_OK", ClickAction::AgreementOption},
        {L"Option_boy", ClickAction::GenderOption},
        {L"Option_gorig", ClickAction::GenderOption},
        {L"GetPassword", ClickAction::OpenPasswordRecovery},
        {L"LogonAccount", ClickAction::NotHandled},
        {L"", ClickAction::NotHandled},
        {L"Logon ", ClickAction::NotHandled},
    };
    for (const auto& [name, action] : cases) {
        EXPECT_EQ(clickActionFor(name), action) << std::string(name.begin(), name.end());
    }
}

TEST(WebUrls, PlatformPagesLieUnderTheBase) {
    const std::wstring base = L"http://www.example.cn";
    const std::pair<std::wstring, bool> cases[] = {
        {L"http://www.example.cn", true},
        {L"http://www.example.cn//qlogin.aspx", true},
        {L"HTTP://WWW.EXAMPLE.CN/Member/Logon.aspx?a=1", true},
        {L"http://www.example.cn?x", true},
        {L"http://www.example.cn#top", true},
        {L"http://www.example.cn.other.net/qlogin.aspx", false},
        {L"http://www.example.cnx/", false},
        {L"http://ads.example.com/http://www.example.cn/", false},
        {L"http://www.example.c", false},
        {L"", false},
        {L"about:blank", false},
    };
    for (const auto& [url, under] : cases) {
        EXPECT_EQ(isPlatformPage(url, base), under) << std::string(url.begin(), url.end());
    }
    EXPECT_TRUE(isPlatformPage(L"http://www.example.cn/a", L"http://www.example.cn/")) << "a base's own slash";
    EXPECT_FALSE(isPlatformPage(L"http://anything/", L"")) << "no base, no pages";
}

}  // namespace
