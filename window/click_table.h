#pragma once
// What a click on a named control of the main skin does.
#include <string_view>
#include <vector>

enum class ClickAction {
    NotHandled,
    CloseWindow,
    ForgetAccount,
    Minimise,
    OpenHomePage,
    ShowRegistrationFromTop,
    OpenPaymentPage,
    OpenServiceChat,
    Logon,
    ShowRegistration,
    ConfirmRegistration,
    CloseRegistration,
    AccountLogonTab,
    ShowQQLogon,
    ShowWeChatLogon,
    NewVerifyCode,
    AgreementOption,
    GenderOption,
    OpenPasswordRecovery,
};

// The action for a control name, compared without regard to case; NotHandled for a name that
// is not in the table.
ClickAction clickActionFor(std::wstring_view name);
// The names of the table, in its order.
std::vector<std::wstring_view> clickTableNames();
