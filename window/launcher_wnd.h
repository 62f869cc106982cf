#pragma once
// The launcher's one main window: a borderless framework window whose surface the UI library
// draws from the skin. It creates the parts that do the work (the remembered accounts, the
// logon and registration forms, the logon tabs, the web pages, the update run's view and the
// lobby client's start), routes what the user does on the skin to them through the click
// table, and keeps the window itself: its creation, shape, hit test and colour skin.
// Everything runs on the interface thread; the update worker goes through the update view.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "browser/web_logon_handler.h"
#include "framework/main_window.h"
#include "common/message_presenter.h"
#include "msgbox/ui_message_presenter.h"
#include "uilib/dialog_builder.h"
#include "uilib/notify.h"
#include "uilib/paint_manager.h"
#include "uilib/window_wnd.h"
#include "window/account_list.h"
#include "window/lobby_starter.h"
#include "window/logon_form.h"
#include "window/logon_tabs.h"
#include "window/registration_form.h"
#include "window/skin_controls.h"
#include "window/update_view.h"
#include "window/web_pages.h"

// The main skin, relative to the resource path.
inline constexpr wchar_t kMainSkin[] = L"LobbexUpdate//LobbexUpdate.xml";
// The main window's class; the single-instance check looks for it too.
inline constexpr wchar_t kLauncherClassName[] = L"KorvaLobbex";

class CLauncherWnd : public CWindowWnd,
                     public MainWindow,
                     public INotifyUI,
                     public IDialogBuilderCallback,
                     public IWebLogonHandler {
public:
    // What the window does to the outside that tests observe or answer instead.
    struct Seams {
        // Shows the message boxes; the skinned box when null.
        MessagePresenter* messages = nullptr;
        // Starts the update worker with this window's update view as its host; the real worker
        // when empty.
        std::function<bool(UpdateHost*)> startUpdate;
        // Opens a link in the default browser; ShellExecuteW when empty.
        std::function<void(const std::wstring&)> openLink;
    };

    CLauncherWnd();
    explicit CLauncherWnd(Seams seams);
    ~CLauncherWnd() override;

    // Creates the native window, which builds the skin and starts the update run; false when
    // either fails (UpdateStartError tells which).
    [[nodiscard]] bool Create();

    // The resource type the skins are read from: none, files.
    virtual const wchar_t* GetResourceType() const { return nullptr; }
    // Which controls take the mouse inside the caption band instead of dragging the window.
    static bool IsActiveControl(CControlUI* control);
    LRESULT HitTest(HWND hwnd, int x, int y);

    // MainWindow
    HWND Handle() const override { return GetHWND(); }
    bool PreTranslateMessage(MSG& message) override;

    // INotifyUI: the dispatch of clicks, focus and text changes, list selections.
    void Notify(UiNotification& notification) override;
    // IDialogBuilderCallback: the control factory ("WebBrowserEx").
    CControlUI* CreateControl(const wchar_t* className) override;

    // IWebLogonHandler: a logon page's script starts the lobby client, when the page is one of
    // the platform's web site and the update has finished.
    void OnQQLogon(const std::wstring& pageUrl, const std::wstring& first, const std::wstring& second) override;
    void OnAccountLogon(const std::wstring& pageUrl, const std::wstring& first, const std::wstring& second) override;

    // The parts.
    AccountList& Accounts() { return accounts_; }
    LogonForm& Logon() { return logon_; }
    RegistrationForm& Registration() { return registration_; }
    LogonTabs& Tabs() { return tabs_; }
    WebPages& Pages() { return pages_; }
    UpdateView& Update() { return update_; }

    CPaintManagerUI& PaintManager() { return paintManager_; }
    // The error that kept the update worker from starting (and the window from being created);
    // ERROR_SUCCESS when it started.
    DWORD UpdateStartError() const { return updateStartError_; }

protected:
    // CWindowWnd
    const wchar_t* GetWindowClassName() const override { return kLauncherClassName; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    HICON GetClassIcon() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;

private:
    // The window's own handling of a message after the UI library's; true when handled.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnCreate();
    void ApplyWindowRegion();
    void OnSizeRegion();
    void ApplyColorSkinFromRegistry();
    // The Enter key on the account or registration page logs on as the button there does;
    // true when it was refused because the update runs (the key then goes no further).
    bool OnEnter();
    bool DispatchClick(CControlUI* sender);
    // The two logons of the skin's own forms; false when refused while the update runs.
    bool LogonWithForm();
    bool LogonWithRegistration();

    CPaintManagerUI paintManager_;
    SkinControls skin_{paintManager_};
    Seams seams_;
    std::unique_ptr<UiMessagePresenter> ownMessages_;
    MessagePresenter* messages_ = nullptr;
    AccountList accounts_{skin_};
    LogonForm logon_;
    RegistrationForm registration_;
    LogonTabs tabs_{skin_};
    WebPages pages_;
    UpdateView update_;
    LobbyStarter lobby_;
    bool firstPaintTraced_ = false;
    DWORD updateStartError_ = ERROR_SUCCESS;
};

// The one main window of the process, published by its constructor.
extern CLauncherWnd* theLauncherWnd;
