#include "window/click_table.h"

#include "common/ascii_case.h"

namespace {

struct Row {
    std::wstring_view name;
    ClickAction action;
};

// In the order the names are compared; the first match acts.
constexpr Row kClickTable[] = {
    {L"CloseWindow", ClickAction::CloseWindow},
    {L"DeletAccount", ClickAction::ForgetAccount},
    {L"MinWindow", ClickAction::Minimise},
    {L"WebIndex", ClickAction::OpenHomePage},
    {L"RegisterTop", ClickAction::ShowRegistrationFromTop},
    {L"Pay", ClickAction::OpenPaymentPage},
    {L"QQOnline", ClickAction::OpenServiceChat},
    {L"Logon", ClickAction::Logon},
    {L"Register", ClickAction::ShowRegistration},
    {L"Register_Ok", ClickAction::ConfirmRegistration},
    {L"Register_Clost", ClickAction::CloseRegistration},
    {L"Logon-Teb", ClickAction::AccountLogonTab},
    {L"QQLogon", ClickAction::ShowQQLogon},
    {L"WeiLogon", ClickAction::ShowWeChatLogon},
    {L"But_Ok", ClickAction::NewVerifyCode},
    {L"Option_OK", ClickAction::AgreementOption},
    {L"Option_boy", ClickAction::GenderOption},
    {L"Option_gorig", ClickAction::GenderOption},
    {L"GetPassword", ClickAction::OpenPasswordRecovery},
};

}  // namespace

ClickAction clickActionFor(std::wstring_view name) {
    for (const Row& row : kClickTable) {
        if (equalsIgnoringAsciiCase(row.name, name)) {
            return row.action;
        }
    }
    return ClickAction::NotHandled;
}

std::vector<std::wstring_view> clickTableNames() {
    std::vector<std::wstring_view> names;
    for (const Row& row : kClickTable) {
        names.push_back(row.name);
    }
    return names;
}
