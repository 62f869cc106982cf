// The remembered accounts and the logon form.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"
#include "uilib/combo.h"
#include "uilib/option.h"

namespace {

using Accounts = LauncherWindowTest;

bool saveSelected(Accounts& test, CControlUI* option) {
    (void)test;
    auto* save = dynamic_cast<COptionUI*>(option);
    return save != nullptr && save->IsSelected();
}

TEST_F(Accounts, LastUsedAccountFillsTheForm) {
    rememberAccount(7, L"first_player", L"secret7");
    rememberAccount(9, L"last_player", L"secret9");
    writeDword(kUserInfoKey, L"LastUserID", 9);
    createWindow();
    EXPECT_EQ(text(L"LogonAccount"), L"last_player");
    EXPECT_EQ(text(L"PassWord"), L"secret9");
    EXPECT_TRUE(saveSelected(*this, control(L"SavePassword")));
    EXPECT_EQ(window().Accounts().count(), 2u);
    EXPECT_EQ(window().Accounts().shown(), 1);
    auto* combo = dynamic_cast<CComboUI*>(control(L"Account"));
    ASSERT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetItemAt(0)->GetName(), L"AccountsCount_Index_0");
    EXPECT_EQ(combo->GetItemAt(1)->GetText(), L"last_player");
    EXPECT_EQ(combo->GetItemAt(1)->GetFixedHeight(), 20);
}

TEST_F(Accounts, WithoutAMatchTheFirstAccountIsShown) {
    rememberAccount(7, L"no_password", L"");
    rememberAccount(8, L"with_password", L"pw8pw8");
    writeDword(kUserInfoKey, L"LastUserID", 1234);
    createWindow();
    EXPECT_EQ(text(L"LogonAccount"), L"no_password");
    EXPECT_EQ(text(L"PassWord"), L"");
    EXPECT_FALSE(saveSelected(*this, control(L"SavePassword")));
    EXPECT_EQ(window().Accounts().shown(), 0);
}

TEST_F(Accounts, NoAccountsLeaveTheFormEmpty) {
    createWindow();
    EXPECT_EQ(window().Accounts().count(), 0u);
    EXPECT_EQ(window().Accounts().shown(), AccountList::kNone);
    EXPECT_EQ(text(L"LogonAccount"), L"");
}

TEST_F(Accounts, PasswordsThatDoNotDecodeAreNotRemembered) {
    rememberAccount(5, L"broken", L"");
    writeString(std::wstring(kUserInfoKey) + L"\\5", L"UserPassword", std::wstring(63, L'0'));
    createWindow();
    EXPECT_EQ(text(L"LogonAccount"), L"broken");
    EXPECT_EQ(text(L"PassWord"), L"");
    EXPECT_FALSE(saveSelected(*this, control(L"SavePassword")));
}

TEST_F(Accounts, ChoosingAnAccountFillsOrClearsThePassword) {
    rememberAccount(1, L"has_password", L"remembered");
    rememberAccount(2, L"no_password", L"");
    createWindow();
    auto* combo = dynamic_cast<CComboUI*>(control(L"Account"));
    ASSERT_EQ(combo->GetCount(), 2);

    combo->SelectItem(1);
    notify(L"itemselect", L"Account");
    EXPECT_EQ(text(L"LogonAccount"), L"no_password");
    EXPECT_EQ(text(L"PassWord"), L"");
    EXPECT_FALSE(saveSelected(*this, control(L"SavePassword")));

    combo->SelectItem(0);
    notify(L"itemselect", L"Account");
    EXPECT_EQ(text(L"LogonAccount"), L"has_password");
    EXPECT_EQ(text(L"PassWord"), L"remembered");
    EXPECT_TRUE(saveSelected(*this, control(L"SavePassword")));
}

// An entry whose index is not below the number of records fills no password.
TEST_F(Accounts, EntryPastTheRecordsFillsNoPassword) {
    rememberAccount(1, L"has_password", L"remembered");
    createWindow();
    auto* combo = dynamic_cast<CComboUI*>(control(L"Account"));
    auto* stray = new CListLabelElementUI();
    stray->SetName(L"AccountsCount_Index_7");
    stray->SetText(L"stray");
    combo->Add(stray);
    combo->SelectItem(1);
    notify(L"itemselect", L"Account");
    EXPECT_EQ(text(L"LogonAccount"), L"stray");
    EXPECT_EQ(text(L"PassWord"), L"");
    EXPECT_FALSE(saveSelected(*this, control(L"SavePassword")));
}

TEST_F(Accounts, ForgettingAnAccountDeletesItsKeyTree) {
    rememberAccount(31, L"keep_me", L"");
    rememberAccount(42, L"forget_me", L"secret");
    writeString(std::wstring(kUserInfoKey) + L"\\42\\Deeper\\Deepest", L"x", L"y");
    createWindow();
    auto* combo = dynamic_cast<CComboUI*>(control(L"Account"));
    combo->SelectItem(1);
    notify(L"itemselect", L"Account");
    click(L"DeletAccount");
    EXPECT_FALSE(registryKeyExists(std::wstring(kUserInfoKey) + L"\\42"));
    EXPECT_TRUE(registryKeyExists(std::wstring(kUserInfoKey) + L"\\31"));
    ASSERT_EQ(combo->GetCount(), 1);
    EXPECT_EQ(combo->GetItemAt(0)->GetText(), L"keep_me");
    EXPECT_EQ(window().Accounts().record(1).userId, 0);
    EXPECT_EQ(window().Accounts().count(), 2u) << "records keep their places";
    EXPECT_EQ(text(L"LogonAccount"), L"");
    EXPECT_EQ(text(L"PassWord"), L"");
    EXPECT_FALSE(saveSelected(*this, control(L"SavePassword")));
}

// The key is deleted by the name it was read under: "007" formatted again would be "7".
TEST_F(Accounts, ForgettingDeletesTheKeyNameThatWasRead) {
    writeString(std::wstring(kUserInfoKey) + L"\\007", L"UserAccount", L"bond_007");
    rememberAccount(7, L"another_seven", L"");
    createWindow();
    auto* combo = dynamic_cast<CComboUI*>(control(L"Account"));
    ASSERT_EQ(combo->GetCount(), 2);
    const int bond = combo->GetItemAt(0)->GetText() == L"bond_007" ? 0 : 1;
    combo->SelectItem(bond);
    notify(L"itemselect", L"Account");
    click(L"DeletAccount");
    EXPECT_FALSE(registryKeyExists(std::wstring(kUserInfoKey) + L"\\007"));
    EXPECT_TRUE(registryKeyExists(std::wstring(kUserInfoKey) + L"\\7")) << "another account's key";
}

// The logon form refuses the lobby client's field separator in the account or password.
TEST_F(Accounts, LogonInputHoldingTheSeparatorIsRefused) {
    createWindow();
    for (const auto& [account, password] : {std::pair<std::wstring, std::wstring>{L"play|er", L"secret"},
                                            std::pair<std::wstring, std::wstring>{L"player", L"sec|ret"}}) {
        messages.shown.clear();
        control(L"LogonAccount")->SetText(account);
        control(L"PassWord")->SetText(password);
        EXPECT_FALSE(window().Logon().check());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].title, L"错误提示");
        EXPECT_EQ(messages.shown[0].text, L"账号和密码不能包含字符“|”");
    }
}

TEST_F(Accounts, ForgettingAnAccountWithoutANameRemovesNothing) {
    rememberAccount(5, L"", L"");
    createWindow();
    auto* combo = dynamic_cast<CComboUI*>(control(L"Account"));
    combo->SelectItem(0);
    click(L"DeletAccount");
    EXPECT_EQ(combo->GetCount(), 1);
    EXPECT_TRUE(registryKeyExists(std::wstring(kUserInfoKey) + L"\\5"));
}

TEST_F(Accounts, LogonInputBounds) {
    createWindow();
    LogonForm& form = window().Logon();
    struct Case {
        std::wstring account, password;
        bool accepted;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"a", L"secret", false, L"账号输入错误"},
        {L"", L"secret", false, L"账号输入错误"},
        {L"ab", L"se", false, L"密码输入错误"},
        {L"ab", L"sec", true, nullptr},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        control(L"LogonAccount")->SetText(c.account);
        control(L"PassWord")->SetText(c.password);
        EXPECT_EQ(form.check(), c.accepted);
        if (c.message != nullptr) {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].title, L"错误提示");
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(messages.shown[0].style, 0u);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
    }
    // A 40-character account passes and is cut to 31; a 40-character password to 32.
    control(L"LogonAccount")->SetText(std::wstring(40, L'n'));
    control(L"PassWord")->SetText(std::wstring(40, L'p'));
    EXPECT_TRUE(form.check());
    EXPECT_EQ(form.account(), std::wstring(31, L'n'));
    EXPECT_EQ(form.password(), std::wstring(32, L'p'));
}

}  // namespace
