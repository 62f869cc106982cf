// What the user does on the skin: the notification dispatch, the click table and the logons.
#include <windows.h>

#include "common/build_settings.h"
#include "framework/application.h"
#include "window/click_table.h"
#include "window/launch_arguments.h"
#include "window/launcher_wnd.h"
#include "window/web_urls.h"

void CLauncherWnd::Notify(UiNotification& notification) {
    switch (notification.type) {
        case UiNotifyType::Click:
            if (notification.sender != nullptr) {
                (void)DispatchClick(notification.sender);
            }
            break;
        case UiNotifyType::SetFocus:
        case UiNotifyType::KillFocus:
        case UiNotifyType::TextChanged:
            (void)registration_.handleField(notification);
            break;
        case UiNotifyType::ItemSelect:
            accounts_.choose(notification.sender);
            break;
        case UiNotifyType::SelectChanged:
        case UiNotifyType::TabSelect:
            break;
    }
}

bool CLauncherWnd::LogonWithForm() {
    if (update_.refuseWhileUpdating()) {
        return false;
    }
    if (logon_.check()) {
        lobby_.start(logon_.arguments());
    }
    return true;
}

bool CLauncherWnd::LogonWithRegistration() {
    if (update_.refuseWhileUpdating()) {
        return false;
    }
    if (const std::optional<RegistrationData> data = registration_.check()) {
        lobby_.start(registrationArguments(data->account, data->password, skin_.isSelected(L"SavePassword"),
                                           data->nickname, data->gender == 1));
    }
    return true;
}

void CLauncherWnd::OnQQLogon(const std::wstring& pageUrl, const std::wstring& first, const std::wstring& second) {
    // A page from elsewhere (an advertisement's link, say) must not log the player on.
    if (isPlatformPage(pageUrl, kWebBaseUrl) && !update_.refuseWhileUpdating()) {
        lobby_.start(webLogonArguments(kLogonWithQQ, first, second));
    }
}

void CLauncherWnd::OnAccountLogon(const std::wstring& pageUrl, const std::wstring& first, const std::wstring& second) {
    if (isPlatformPage(pageUrl, kWebBaseUrl) && !update_.refuseWhileUpdating()) {
        lobby_.start(webLogonArguments(kLogonWithAccount, first, second));
    }
}

bool CLauncherWnd::DispatchClick(CControlUI* sender) {
    switch (clickActionFor(sender->GetName())) {
        case ClickAction::NotHandled:
            return false;
        case ClickAction::CloseWindow:
            if (tabs_.page() != LogonPage::AccountForm) {
                tabs_.show(LogonTab::AccountForm, LogonPage::AccountForm, false);
            } else if (Application::Current() != nullptr && Application::Current()->mainWindow != nullptr) {
                ::PostMessageW(Application::Current()->mainWindow->Handle(), WM_CLOSE, 0, 0);
            } else {
                ::PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
            }
            break;
        case ClickAction::ForgetAccount:
            accounts_.forgetChosen();
            break;
        case ClickAction::Minimise:
            ::ShowWindow(GetHWND(), SW_MINIMIZE);
            break;
        case ClickAction::OpenHomePage:
            pages_.openLink(WebLink::HomePage);
            break;
        case ClickAction::ShowRegistrationFromTop:
            tabs_.show(LogonTab::Registration, LogonPage::Registration, true);
            break;
        case ClickAction::OpenPaymentPage:
            pages_.openLink(WebLink::Payment);
            break;
        case ClickAction::OpenServiceChat:
            pages_.openLink(WebLink::ServiceChat);
            break;
        case ClickAction::Logon:
            (void)LogonWithForm();
            break;
        case ClickAction::ShowRegistration:
            tabs_.show(LogonTab::Registration, LogonPage::Registration, true);
            pages_.showRegister(L"RegisterLogonWeb");
            break;
        case ClickAction::ConfirmRegistration:
            (void)LogonWithRegistration();
            break;
        case ClickAction::CloseRegistration:
            tabs_.show(LogonTab::AccountForm, LogonPage::AccountForm, false);
            break;
        case ClickAction::AccountLogonTab:
            tabs_.enter(LogonPage::AccountForm);
            break;
        case ClickAction::ShowQQLogon:
            // The page itself was loaded at start-up.
            tabs_.show(LogonTab::QQLogon, LogonPage::WebLogon, true);
            break;
        case ClickAction::ShowWeChatLogon:
            tabs_.show(LogonTab::WeChatLogon, LogonPage::WebLogon, true);
            pages_.showWeChatLogon();
            break;
        case ClickAction::NewVerifyCode:
            registration_.newVerifyCode();
            break;
        case ClickAction::AgreementOption:
            // The agreement check box itself decides: accepted while it is ticked.
            registration_.setAgreementAccepted(skin_.isSelected(L"Option_OK"));
            break;
        case ClickAction::GenderOption:
            break;  // read when the form is checked
        case ClickAction::OpenPasswordRecovery:
            pages_.openLink(WebLink::PasswordRecovery);
            break;
    }
    return true;
}
