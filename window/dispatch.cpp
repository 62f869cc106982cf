// What the user does on the skin: the notification dispatch and the click table.
#include <windows.h>

#include "framework/application.h"
#include "uilib/container.h"
#include "uilib/option.h"
#include "window/click_table.h"
#include "window/launcher_wnd.h"

namespace {

bool typeIs(const std::wstring& type, const wchar_t* expected) {
    return ::_wcsicmp(type.c_str(), expected) == 0;
}

}  // namespace

void CLauncherWnd::Notify(UiNotification& notification) {
    if (typeIs(notification.type, L"click")) {
        if (notification.sender != nullptr && DispatchClick(notification.sender)) {
            return;
        }
    }
    if (typeIs(notification.type, L"killfocus") || typeIs(notification.type, L"setfocus") ||
        typeIs(notification.type, L"textchanged")) {
        (void)HandleRegisterField(notification);
    } else if (typeIs(notification.type, L"itemselect")) {
        OnAccountSelected(notification.sender);
    }
}

void CLauncherWnd::SelectLogonTab(int tab) {
    if (auto* tabs = Find<CTabLayoutUI>(L"LogonRegister")) {
        tabs->SelectItem(tab);
    }
}

bool CLauncherWnd::DispatchClick(CControlUI* sender) {
    switch (clickActionFor(sender->GetName())) {
        case ClickAction::NotHandled:
            return false;
        case ClickAction::CloseWindow:
            if (logonPage != 0) {
                SelectLogonTab(0);
                webPageActive = false;
                logonPage = 0;
            } else if (Application::Current() != nullptr && Application::Current()->mainWindow != nullptr) {
                ::PostMessageW(Application::Current()->mainWindow->GetHwnd(), WM_CLOSE, 0, 0);
            } else {
                ::PostMessageW(GetHwnd(), WM_CLOSE, 0, 0);
            }
            break;
        case ClickAction::ForgetAccount:
            ForgetSelectedAccount();
            break;
        case ClickAction::Minimise:
            ::ShowWindow(GetHwnd(), SW_MINIMIZE);
            break;
        case ClickAction::OpenHomePage:
            OpenWebLink(1);
            break;
        case ClickAction::ShowRegistrationFromTop:
            SelectLogonTab(1);
            webPageActive = true;
            logonPage = 2;
            break;
        case ClickAction::OpenPaymentPage:
            OpenWebLink(3);
            break;
        case ClickAction::OpenServiceChat:
            OpenWebLink(4);
            break;
        case ClickAction::Logon:
            if (!RefuseWhileUpdating() && CheckLogonInput()) {
                LaunchLobby(0);
            }
            break;
        case ClickAction::ShowRegistration:
            SelectLogonTab(1);
            ShowRegisterPage(L"RegisterLogonWeb", true);
            logonPage = 2;
            webPageActive = true;
            break;
        case ClickAction::ConfirmRegistration:
            if (!RefuseWhileUpdating() && CheckRegistration()) {
                LaunchLobby(2);
            }
            break;
        case ClickAction::CloseRegistration:
            SelectLogonTab(0);
            webPageActive = false;
            logonPage = 0;
            break;
        case ClickAction::AccountLogonTab:
            logonPage = 0;
            break;
        case ClickAction::ShowQQLogon:
            SelectLogonTab(2);
            logonPage = 1;
            webPageActive = true;
            ShowQQLogonPage(L"QQLogonWeb", false);
            break;
        case ClickAction::ShowWeChatLogon:
            SelectLogonTab(3);
            logonPage = 1;
            webPageActive = true;
            ShowWeChatLogonPage();
            break;
        case ClickAction::NewVerifyCode:
            ShowVerifyCode();
            break;
        case ClickAction::AgreementOption:
            // The agreement check box itself decides: accepted while it is ticked.
            if (auto* agreement = Find<COptionUI>(L"Option_OK")) {
                agreementAccepted = agreement->IsSelected();
            }
            break;
        case ClickAction::GenderOption:
            break;  // read when the form is checked
        case ClickAction::OpenPasswordRecovery:
            OpenWebLink(5);
            break;
    }
    return true;
}
