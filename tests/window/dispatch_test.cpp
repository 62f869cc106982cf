// Every control of the skin: the click table, the pages of the tab layout, the web pages and
// links.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/build_settings.h"
#include "tests/window/window_fixture.h"
#include "uilib/container.h"
#include "uilib/option.h"
#include "uilib/web_browser.h"

namespace {

class Dispatch : public LauncherWindowTest {
public:
    void SetUp() override {
        LauncherWindowTest::SetUp();
        createWindow();
    }
    int tab() { return dynamic_cast<CTabLayoutUI*>(control(L"LogonRegister"))->GetCurSel(); }
    CWebBrowserUI* browser(const wchar_t* name) { return dynamic_cast<CWebBrowserUI*>(control(name)); }
    std::wstring requested(const wchar_t* name) { return browser(name)->GetRequestedUrl(); }
    const std::wstring base = kWebBaseUrl;
};

TEST_F(Dispatch, PagesOfTheTabLayout) {
    struct Row {
        const wchar_t* click;
        int tab;
        LogonPage logonPage;
        bool webPageActive;
    };
    const Row rows[] = {
        {L"RegisterTop", 1, LogonPage::Registration, true},
        {L"Register_Clost", 0, LogonPage::AccountForm, false},
        {L"Register", 1, LogonPage::Registration, true},
        {L"QQLogon", 2, LogonPage::WebLogon, true},
        {L"WeiLogon", 3, LogonPage::WebLogon, true},
        {L"CloseWindow", 0, LogonPage::AccountForm, false},
        {L"QQLogon", 2, LogonPage::WebLogon, true},
        {L"Logon-Teb", 2, LogonPage::AccountForm, true},  // no tab change
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.click, row.click + wcslen(row.click)));
        click(row.click);
        EXPECT_EQ(tab(), row.tab);
        EXPECT_EQ(window().Tabs().page(), row.logonPage);
        EXPECT_EQ(window().Tabs().webPageActive(), row.webPageActive);
    }
}

TEST_F(Dispatch, CloseWindowReturnsToTheAccountPageFirst) {
    click(L"WeiLogon");
    click(L"CloseWindow");
    pump();
    EXPECT_NE(window().GetHWND(), nullptr) << "the first click only returns to the account page";
    EXPECT_EQ(tab(), 0);
    click(L"CloseWindow");
    pump();
    EXPECT_EQ(window().GetHWND(), nullptr) << "the second click closes the launcher";
}

TEST_F(Dispatch, NamesMatchWithoutRegardToCase) {
    control(L"RegisterTop")->SetName(L"REGISTERTOP");
    click(L"REGISTERTOP");
    EXPECT_EQ(tab(), 1);
    control(L"Pay")->SetName(L"pay");
    click(L"pay");
    EXPECT_EQ(openedLinks, (std::vector<std::wstring>{base + L"//Pay/Pay.aspx"}));
}

TEST_F(Dispatch, LinksOpenInTheDefaultBrowser) {
    click(L"WebIndex");
    click(L"Pay");
    click(L"QQOnline");
    click(L"GetPassword");
    EXPECT_EQ(openedLinks, (std::vector<std::wstring>{base, base + L"//Pay/Pay.aspx", kServiceChatUrl,
                                                      base + L"/Member/ReLogonPass.aspx"}));
    EXPECT_EQ(webLinkUrl(0, base, kServiceChatUrl), L"") << "other kinds open nothing";
    EXPECT_EQ(webLinkUrl(6, base, kServiceChatUrl), L"");
    EXPECT_EQ(openedLinks.size(), 4u);
}

TEST_F(Dispatch, LogonAndRegistrationWaitForTheUpdate) {
    control(L"LogonAccount")->SetText(L"player");
    control(L"PassWord")->SetText(L"secret");
    click(L"Logon");
    click(L"Register_Ok");
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const ShownMessage& shown : messages.shown) {
        EXPECT_EQ(shown.title, L"提示");
        EXPECT_EQ(shown.text, L"正在更新请稍后尝试");
        EXPECT_EQ(shown.style, 0u);
    }
    // Once logon is allowed the form is checked (here it fails on purpose: no launch).
    window().Update().setLogonAllowed(true);
    control(L"PassWord")->SetText(L"s");
    click(L"Logon");
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, L"密码输入错误");
}

TEST_F(Dispatch, SmallerActions) {
    click(L"But_Ok");
    EXPECT_EQ(window().Registration().verifyCode().size(), 4u);
    auto* agreement = dynamic_cast<COptionUI*>(control(L"Option_OK"));
    agreement->SetSelected(false);
    click(L"Option_OK");
    EXPECT_FALSE(window().Registration().agreementAccepted());
    agreement->SetSelected(true);
    click(L"Option_OK");
    EXPECT_TRUE(window().Registration().agreementAccepted());
    click(L"Option_boy");
    click(L"Option_gorig");
    EXPECT_TRUE(messages.shown.empty());
    click(L"captionLabel");  // not in the table: ignored
    click(L"MinWindow");
    EXPECT_TRUE(::IsIconic(window().GetHWND()));
}

TEST_F(Dispatch, StartupPagesAndTheirAddresses) {
    window().Pages().loadStartupPages();
    const CControlUI* ads = control(L"web");
    EXPECT_EQ(requested(L"web"), base + L"//ads/LogonLogo.aspx?point=" + std::to_wstring(ads->GetX()) + L"," +
                                     std::to_wstring(ads->GetY()) + L"&skinType=1&dwColor=-1");
    EXPECT_EQ(ads->GetX(), 10);
    EXPECT_EQ(ads->GetY(), 50);
    EXPECT_TRUE(ads->IsVisible());
    EXPECT_NE(browser(L"web")->GetWebBrowserEventHandler(), nullptr);
    EXPECT_EQ(requested(L"QQLogonWeb"), base + L"//qlogin.aspx");
    EXPECT_TRUE(window().Pages().qqPageLoaded());
}

TEST_F(Dispatch, AdvertisementCarriesTheColourSkin) {
    TearDown();  // a window made with the colour skin in the registry instead
    LauncherWindowTest::SetUp();
    writeDword(kInterfaceKey, L"InterfaceType", 3);
    createWindow();
    window().Pages().showAds(L"web");
    EXPECT_NE(requested(L"web").find(L"&skinType=0&dwColor=2"), std::wstring::npos)
        << std::string(requested(L"web").begin(), requested(L"web").end());
}

TEST_F(Dispatch, QQPageLoadsOnceAndWeChatOnEveryVisit) {
    window().Pages().loadStartupPages();
    browser(L"QQLogonWeb")->Navigate2(L"about:marker");
    click(L"QQLogon");
    click(L"QQLogon");
    EXPECT_EQ(requested(L"QQLogonWeb"), L"about:marker") << "the page loaded at start-up stays";

    click(L"WeiLogon");
    EXPECT_EQ(requested(L"WeixLogonWeb"), base + L"//wxlogin.aspx");
    EXPECT_NE(browser(L"WeixLogonWeb")->GetWebBrowserEventHandler(), nullptr);
    browser(L"WeixLogonWeb")->Navigate2(L"about:marker");
    click(L"WeiLogon");
    EXPECT_EQ(requested(L"WeixLogonWeb"), base + L"//wxlogin.aspx") << "reloaded";
}

TEST_F(Dispatch, RegistrationPageLoadsOnce) {
    click(L"RegisterTop");
    EXPECT_EQ(requested(L"RegisterLogonWeb"), L"") << "the top link shows the form only";
    click(L"Register");
    EXPECT_EQ(requested(L"RegisterLogonWeb"), base + L"//Register.aspx");
    EXPECT_EQ(browser(L"RegisterLogonWeb")->GetWebBrowserEventHandler(), nullptr);
    browser(L"RegisterLogonWeb")->Navigate2(L"about:marker");
    click(L"Register");
    EXPECT_EQ(requested(L"RegisterLogonWeb"), L"about:marker");
}

}  // namespace
