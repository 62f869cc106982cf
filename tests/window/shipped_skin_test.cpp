// The main window on the skin that ships (LobbexUpdate/LobbexUpdate.xml beside the program),
// not the tests' own small skin: a control the window's parts use that the shipped skin
// renames or drops fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"
#include "uilib/container.h"
#include "update/update_engine.h"
#include "window/click_table.h"

namespace {

class ShippedSkin : public LauncherWindowTest {
public:
    void SetUp() override {
        LauncherWindowTest::SetUp();
        CPaintManagerUI::SetResourcePath(executableFolder());
        createWindow();
    }
    std::wstring classOf(const std::wstring& name) {
        CControlUI* found = window().PaintManager().FindControl(name);
        return found != nullptr ? std::wstring(found->GetClass()) : L"<missing>";
    }
};

TEST_F(ShippedSkin, HoldsEveryControlThePartsUseWithItsKind) {
    const std::pair<const wchar_t*, const wchar_t*> controls[] = {
        {L"Account", L"ComboUI"},
        {L"LogonAccount", L"EditUI"},
        {L"PassWord", L"EditUI"},
        {L"SavePassword", L"OptionUI"},
        {L"Logon", L"ButtonUI"},
        {L"UpdateState", nullptr},
        {L"AllFileProgress", L"ProgressUI"},
        {L"LogonRegister", L"TabLayoutUI"},
        {L"backlayout", nullptr},
        {L"web", L"WebBrowserUI"},
        {L"QQLogonWeb", L"WebBrowserUI"},
        {L"WeixLogonWeb", L"WebBrowserUI"},
        {L"RegisterLogonWeb", L"WebBrowserUI"},
        {L"edit_Account", L"EditUI"},
        {L"edit_GameName", L"EditUI"},
        {L"edit_PassWord_1", L"EditUI"},
        {L"edit_PassWord_2", L"EditUI"},
        {L"edit_OK", L"EditUI"},
        {L"Image_Account", nullptr},
        {L"Image_GameName", nullptr},
        {L"Image_PassWord_1", nullptr},
        {L"Image_PassWord_2", nullptr},
        {L"Image_OK", nullptr},
        {L"Text_Account", nullptr},
        {L"Text_GameName", nullptr},
        {L"Text_PassWord_1", nullptr},
        {L"Text_PassWord_2", nullptr},
        {L"Text_Number", nullptr},
        {L"Option_boy", L"OptionUI"},
        {L"Option_gorig", L"OptionUI"},
        {L"Option_OK", L"OptionUI"},
        {L"passlv0_option", L"OptionUI"},
        {L"passlv1_option", L"OptionUI"},
        {L"passlv2_option", L"OptionUI"},
        {L"passlv3_option", L"OptionUI"},
    };
    for (const auto& [name, kind] : controls) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        const std::wstring found = classOf(name);
        EXPECT_NE(found, L"<missing>");
        if (kind != nullptr) {
            EXPECT_EQ(found, kind);
        }
    }
    for (std::wstring_view name : clickTableNames()) {
        EXPECT_NE(classOf(std::wstring(name)), L"<missing>") << std::string(name.begin(), name.end());
    }
}

TEST_F(ShippedSkin, TabsFollowTheClicks) {
    auto* tabs = dynamic_cast<CTabLayoutUI*>(control(L"LogonRegister"));
    ASSERT_NE(tabs, nullptr);
    const std::pair<const wchar_t*, int> clicks[] = {
        {L"RegisterTop", 1}, {L"Register_Clost", 0}, {L"QQLogon", 2}, {L"WeiLogon", 3}, {L"CloseWindow", 0},
    };
    for (const auto& [name, tab] : clicks) {
        click(name);
        EXPECT_EQ(tabs->GetCurSel(), tab) << std::string(name, name + wcslen(name));
    }
}

TEST_F(ShippedSkin, RegistrationFormChecksAndPasses) {
    click(L"RegisterTop");
    control(L"edit_Account")->SetText(L"123456");
    notify(L"killfocus", L"edit_Account");
    EXPECT_EQ(text(L"Text_Account"), L"不能全为数字");
    control(L"edit_Account")->SetText(L"player01");
    notify(L"killfocus", L"edit_Account");
    control(L"edit_GameName")->SetText(L"\u5C0F\u9F99\u5973xx");
    control(L"edit_PassWord_1")->SetText(L"Secret123");
    control(L"edit_PassWord_2")->SetText(L"Secret123");
    notify(L"setfocus", L"edit_OK");
    ASSERT_EQ(window().Registration().verifyCode().size(), 4u);
    EXPECT_EQ(text(L"Text_Number"), window().Registration().verifyCode());
    control(L"edit_OK")->SetText(window().Registration().verifyCode());
    const std::optional<RegistrationData> data = window().Registration().check();
    ASSERT_TRUE(data);
    EXPECT_EQ(std::wstring(data->account), L"player01");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShippedSkin, TheUpdateRunShowsOnIt) {
    EXPECT_EQ(text(L"UpdateState"), L"正在更新文件列表.....");
    EXPECT_FALSE(control(L"Logon")->IsEnabled());
    window().Update().finishUpdate(true);
    EXPECT_TRUE(control(L"Logon")->IsEnabled());
    control(L"LogonAccount")->SetText(L"a");
    click(L"Logon");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"账号输入错误");
}

}  // namespace
