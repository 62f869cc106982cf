// The registration form: the checks beside each field and the registration check.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"
#include "uilib/option.h"

namespace {

constexpr wchar_t kValid[] = L"file='LobbexUpdate\\tooltip.png' source='16,0,32,16'";
constexpr wchar_t kInvalid[] = L"file='LobbexUpdate\\tooltip.png' source='0,0,16,16'";

class Registration : public LauncherWindowTest {
public:
    void SetUp() override {
        LauncherWindowTest::SetUp();
        createWindow();
        click(L"RegisterTop");  // the form's page
    }
    // Types a text into a field and leaves it.
    void enter(const wchar_t* field, const std::wstring& value) {
        control(field)->SetText(value);
        notify(L"killfocus", field);
    }
    bool selected(const wchar_t* name) {
        auto* option = dynamic_cast<COptionUI*>(control(name));
        return option != nullptr && option->IsSelected();
    }
    // A form that passes every check.
    void fillValidForm() {
        enter(L"edit_Account", L"player01");
        enter(L"edit_GameName", L"\u5C0F\u9F99\u5973xx");  // three ideographs and two letters: 8
        enter(L"edit_PassWord_1", L"Secret123");
        enter(L"edit_PassWord_2", L"Secret123");
        notify(L"setfocus", L"edit_OK");
        control(L"edit_OK")->SetText(window().Registration().verifyCode());
    }
};

TEST_F(Registration, AccountIsCheckedWhenItLosesTheFocus) {
    struct Case {
        std::wstring text;
        bool valid;
        std::wstring label;
    };
    const Case cases[] = {
        {L"123456", false, L"不能全为数字"},
        {L"12345a", true, L""},
        {L"abcde", false, L"用户名的合法长度为6~18个字符"},
        {std::wstring(18, L'a'), true, L""},
        {std::wstring(19, L'a'), false, L"用户名的合法长度为6~18个字符"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        control(L"Text_Account")->SetText(L"before");
        enter(L"edit_Account", c.text);
        EXPECT_TRUE(control(L"Image_Account")->IsVisible());
        EXPECT_EQ(control(L"Image_Account")->GetBkImage(), c.valid ? kValid : kInvalid);
        EXPECT_EQ(text(L"Text_Account"), c.label);
        EXPECT_EQ(std::wstring(window().Registration().kept().account), c.valid ? c.text : L"");
    }
    notify(L"setfocus", L"edit_Account");
    EXPECT_EQ(text(L"Text_Account"), L"6~18个字母/数字组成，不能全为数字，不区分大小写");
}

TEST_F(Registration, NicknameCountsChineseCharactersTwice) {
    const std::pair<std::wstring, bool> cases[] = {
        {L"abcde", false},
        {L"abcdef", true},
        {L"\u5C0F\u9F99x", false},      // 5
        {L"\u5C0F\u9F99\u5973", true},  // 6
        {std::wstring(16, L'n'), true},
        {std::wstring(17, L'n'), false},
        {L"\u5C0F\u9F99\u5973\u5C0F\u9F99\u5973\u5C0F\u9F99x", false},  // 17
    };
    for (const auto& [nickname, valid] : cases) {
        enter(L"edit_GameName", nickname);
        EXPECT_EQ(control(L"Image_GameName")->GetBkImage(), valid ? kValid : kInvalid);
        EXPECT_EQ(text(L"Text_GameName"), valid ? L"" : L"游戏昵称由6-16个字符组成，一个汉字算两个字符");
        EXPECT_EQ(std::wstring(window().Registration().kept().nickname), valid ? nickname : L"");
    }
}

TEST_F(Registration, PasswordsAreCheckedForLengthAndAgreement) {
    const std::pair<std::wstring, bool> lengths[] = {
        {std::wstring(7, L'p'), false},
        {std::wstring(8, L'p'), true},
        {std::wstring(16, L'p'), true},
        {std::wstring(17, L'p'), false},
    };
    for (const auto& [password, valid] : lengths) {
        enter(L"edit_PassWord_1", password);
        EXPECT_EQ(control(L"Image_PassWord_1")->GetBkImage(), valid ? kValid : kInvalid);
        EXPECT_EQ(text(L"Text_PassWord_1"), valid ? L"" : L"8～16个字符(字母、数字、特殊符号),区分大小写");
    }
    enter(L"edit_PassWord_1", L"password1");
    enter(L"edit_PassWord_2", L"Password1");
    EXPECT_EQ(control(L"Image_PassWord_2")->GetBkImage(), kInvalid);
    EXPECT_EQ(text(L"Text_PassWord_2"), L"两次输入密码不一致");
    notify(L"killfocus", L"edit_PassWord_1");
    EXPECT_EQ(text(L"Text_PassWord_1"), L"两次输入密码不一致");

    notify(L"setfocus", L"edit_PassWord_2");
    EXPECT_EQ(text(L"Text_PassWord_2"), L"8～16个字符(字母、数字、特殊符号),区分大小写");
}

TEST_F(Registration, TypingAPasswordShowsItsStrength) {
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {L"abcde", L"passlv0_option"},
        {L"abcdef", L"passlv1_option"},
        {L"abcdef12", L"passlv2_option"},
        {L"abcDEF12", L"passlv3_option"},
    };
    for (const auto& [password, option] : cases) {
        control(L"edit_PassWord_1")->SetText(password);
        notify(L"textchanged", L"edit_PassWord_1");
        EXPECT_TRUE(selected(option)) << std::string(option, option + wcslen(option));
    }
    EXPECT_FALSE(selected(L"passlv0_option")) << "one option of the group at a time";
}

TEST_F(Registration, VerificationCodeComesWithTheFirstVisit) {
    EXPECT_TRUE(window().Registration().verifyCode().empty());
    control(L"edit_OK")->SetText(L"");
    notify(L"killfocus", L"edit_OK");
    EXPECT_EQ(control(L"Image_OK")->GetBkImage(), kInvalid) << "no code yet: nothing matches";
    notify(L"setfocus", L"edit_OK");
    const std::wstring code = window().Registration().verifyCode();
    ASSERT_EQ(code.size(), 4u);
    EXPECT_EQ(text(L"Text_Number"), code);
    notify(L"setfocus", L"edit_OK");
    EXPECT_EQ(window().Registration().verifyCode(), code) << "the code stays until replaced";
    control(L"edit_OK")->SetText(code);
    notify(L"killfocus", L"edit_OK");
    EXPECT_EQ(control(L"Image_OK")->GetBkImage(), kValid);
}

TEST_F(Registration, RegistrationCheckStopsAtTheFirstFailure) {
    struct Case {
        const char* what;
        std::function<void(Registration&)> spoil;
        const wchar_t* message;  // null: refused without a message
    };
    const Case cases[] = {
        {"account field spoiled but not left", [](Registration& t) { t.control(L"edit_Account")->SetText(L"12345"); },
         L"账号输入错误,请重新输入！"},
        {"nickname spoiled but not left", [](Registration& t) { t.control(L"edit_GameName")->SetText(L"abc"); },
         L"昵称输入错误 请重新输入！"},
        {"nickname too short", [](Registration& t) { t.enter(L"edit_GameName", L"abc"); },
         L"昵称输入错误 请重新输入！"},
        {"second password empty", [](Registration& t) { t.control(L"edit_PassWord_2")->SetText(L""); },
         L"密码不能为空 请重新输入！"},
        {"passwords differ", [](Registration& t) { t.control(L"edit_PassWord_2")->SetText(L"Secret124"); },
         L"密码错误 请重新输入！"},
        {"wrong code", [](Registration& t) { t.control(L"edit_OK")->SetText(L"x"); }, L"校验码错误"},
        {"agreement not accepted", [](Registration& t) { t.window().Registration().setAgreementAccepted(false); },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window().Registration().setAgreementAccepted(true);
        fillValidForm();
        c.spoil(*this);
        messages.shown.clear();
        EXPECT_FALSE(window().Registration().check());
        if (c.message != nullptr) {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].title, L"错误提示");
            EXPECT_EQ(messages.shown[0].text, c.message);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
    }
}

TEST_F(Registration, ValidFormIsAcceptedWithItsData) {
    fillValidForm();
    dynamic_cast<COptionUI*>(control(L"Option_gorig"))->SetSelected(true);
    std::optional<RegistrationData> data = window().Registration().check();
    ASSERT_TRUE(data);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(std::wstring(data->account), L"player01");
    EXPECT_EQ(std::wstring(data->nickname), L"\u5C0F\u9F99\u5973xx");
    EXPECT_EQ(std::wstring(data->password), L"Secret123");
    EXPECT_EQ(data->gender, 0);
    dynamic_cast<COptionUI*>(control(L"Option_boy"))->SetSelected(true);
    data = window().Registration().check();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->gender, 1);
}

// The lobby client gets what the check passed, not what the fields kept when they were last
// left: an account edited and sent with Enter at once is the one registered.
TEST_F(Registration, WhatIsLaunchedIsWhatWasChecked) {
    fillValidForm();
    control(L"edit_Account")->SetText(L"player02");
    control(L"edit_GameName")->SetText(L"nickname2");
    const std::optional<RegistrationData> data = window().Registration().check();
    ASSERT_TRUE(data);
    EXPECT_EQ(std::wstring(data->account), L"player02");
    EXPECT_EQ(std::wstring(data->nickname), L"nickname2");
    EXPECT_EQ(std::wstring(window().Registration().kept().account), L"player01") << "kept on focus loss only";
}

// The lobby client's fields are separated by "|": a form holding one is refused, whichever
// field has it.
TEST_F(Registration, FieldsHoldingTheSeparatorAreRefused) {
    for (const wchar_t* field : {L"edit_Account", L"edit_GameName"}) {
        fillValidForm();
        control(field)->SetText(std::wstring(L"play|er01"));
        messages.shown.clear();
        EXPECT_FALSE(window().Registration().check());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, L"账号、昵称和密码不能包含字符“|”");
    }
    fillValidForm();
    control(L"edit_PassWord_1")->SetText(L"Secret|123");
    control(L"edit_PassWord_2")->SetText(L"Secret|123");
    messages.shown.clear();
    EXPECT_FALSE(window().Registration().check());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"账号、昵称和密码不能包含字符“|”");
}

TEST_F(Registration, OtherControlsAreNotFormFields) {
    UiNotification notification;
    notification.type = UiNotifyType::KillFocus;
    notification.sender = control(L"LogonAccount");
    EXPECT_FALSE(window().Registration().handleField(notification));
    notification.type = UiNotifyType::TextChanged;
    notification.sender = control(L"edit_Account");
    EXPECT_FALSE(window().Registration().handleField(notification));
}

}  // namespace
