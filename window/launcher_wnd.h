#pragma once
// The launcher's one main window: a borderless framework window whose surface the UI library
// draws from the skin. It hosts the update run, lists the remembered accounts, checks the
// logon and registration forms, shows the platform's pages and starts the lobby client.
// Everything runs on the interface thread except the UpdateHost operations, which the update
// worker calls and which take effect on the interface thread in the order of the calls.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "framework/frame_window.h"
#include "msgbox/message_presenter.h"
#include "msgbox/ui_message_presenter.h"
#include "uilib/dialog_builder.h"
#include "uilib/notify.h"
#include "uilib/paint_manager.h"
#include "update/update_host.h"
#include "window/account_record.h"
#include "window/web_logon_handler.h"

class CWebEventHandler;

// The main skin, relative to the resource path.
inline constexpr wchar_t kMainSkin[] = L"LobbexUpdate//LobbexUpdate.xml";
// Asks the window to apply the control updates the update worker queued.
inline constexpr UINT kDrainUpdatesMessage = WM_APP + 0x101;
// Shown when a logon or registration is attempted while the update runs.
inline constexpr wchar_t kWaitTitle[] = L"提示";
inline constexpr wchar_t kWaitText[] = L"正在更新请稍后尝试";

class CLauncherWnd : public FrameWindow,
                     public INotifyUI,
                     public IDialogBuilderCallback,
                     public IWebLogonHandler,
                     public UpdateHost {
public:
    // What the window does to the outside that tests observe or answer instead.
    struct Seams {
        // Shows the message boxes; the skinned box when null.
        MessagePresenter* messages = nullptr;
        // Starts the update worker with this window as its host; the real worker when empty.
        std::function<bool(UpdateHost*)> startUpdate;
        // Opens a link in the default browser; ShellExecuteW when empty.
        std::function<void(const std::wstring&)> openLink;
    };

    CLauncherWnd();
    explicit CLauncherWnd(Seams seams);
    ~CLauncherWnd() override;

    // --- Operations of the window (in the order of their slots) ---
    // The resource type the skins are read from: none, files.
    virtual const wchar_t* GetResourceType() const { return nullptr; }
    virtual bool IsActiveControl(CControlUI* control);
    virtual LRESULT HitTest(HWND hwnd, int x, int y);
    virtual bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool PreTranslateMessage(MSG& message) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // INotifyUI: the dispatch of clicks, focus and text changes, list selections.
    void Notify(UiNotification& notification) override;
    // IDialogBuilderCallback: the control factory ("WebBrowserEx").
    CControlUI* CreateControl(const wchar_t* className) override;

    // IWebLogonHandler
    void OnQQLogon(const std::wstring& first, const std::wstring& second) override;
    void OnAccountLogon(const std::wstring& first, const std::wstring& second) override;

    // UpdateHost
    void showUpdateState(const std::wstring& text) override;
    void showAllFileProgress(std::int32_t done, std::int32_t total) override;
    void quitProcess() override;
    void finishUpdate(bool allowLogon) override;
    bool isSkinReady() override { return skinReady.load(); }
    HWND windowHandle() override { return GetHwnd(); }
    MessagePresenter& messages() override { return *messages_; }

    // Sets the status line's text at once.
    void SetStatusText(std::wstring_view text);
    // Sets the text of the named control when it exists.
    void SetControlText(std::wstring_view name, std::wstring_view text);
    // A new four-digit verification code, shown in Text_Number.
    void ShowVerifyCode();
    std::uint8_t PasswordStrength(std::wstring_view text) const;
    // The window region from the skin's round corner.
    void ApplyWindowRegion();

    // Remembered accounts and the logon form.
    void LoadAccounts();
    void OnAccountSelected(CControlUI* combo);
    void ForgetSelectedAccount();
    [[nodiscard]] bool CheckLogonInput();

    // Starts the lobby client with logon type 0 (the account form) or 2 (a registration).
    void LaunchLobby(int logonType);

    // Links and embedded pages.
    void OpenWebLink(int kind);
    void ShowAdsPage(std::wstring_view controlName, bool show);
    void ShowQQLogonPage(std::wstring_view controlName, bool show);
    void ShowWeChatLogonPage();
    void ShowRegisterPage(std::wstring_view controlName, bool show);
    void LoadStartupPages();

    // The registration form.
    bool HandleRegisterField(UiNotification& notification);
    [[nodiscard]] bool CheckRegistration();
    bool CheckAccountName(std::wstring_view text);
    bool CheckNickname(std::wstring_view text);
    bool CheckPassword(std::wstring_view text, std::wstring_view label);
    bool CheckVerifyCode(std::wstring_view text) const;

    CPaintManagerUI& PaintManager() { return paintManager_; }
    // The error that kept the update worker from starting (and the window from being created);
    // ERROR_SUCCESS when it started.
    DWORD UpdateStartError() const { return updateStartError_; }
    // The control with that name when it exists and is of type T; null otherwise.
    template <typename T>
    T* Find(std::wstring_view name) {
        return dynamic_cast<T*>(paintManager_.FindControl(name));
    }

    // --- Fields ---
    bool subclassed = false;
    WNDPROC previousProc = nullptr;
    std::int32_t logonPage = 0;  // 0 account logon, 1 a web logon page, 2 registration
    std::wstring verifyCode;
    bool agreementAccepted = true;
    RegistrationData registration{};
    wchar_t logonPassword[33] = {};
    wchar_t logonAccount[32] = {};
    std::unique_ptr<AccountRecord> accounts[255];
    std::int32_t accountCount = 0;
    std::uint8_t selectedAccount = 255;
    std::uint32_t skinType = 0xFFFF;
    std::uint32_t skinColor = 0xFFFFFFFF;
    bool qqPageLoaded = false;
    bool registerPageLoaded = false;
    bool webPageActive = false;
    std::atomic<bool> logonAllowed{false};
    std::atomic<bool> skinReady{false};

private:
    bool firstPaintTraced_ = false;
    DWORD updateStartError_ = ERROR_SUCCESS;
    static LRESULT CALLBACK LauncherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Subclass(HWND hwnd);
    void Unsubclass(HWND hwnd);
    LRESULT OnCreate();
    void OnSizeRegion(WPARAM sizeType);
    void ApplyColorSkinFromRegistry();
    // Runs an update of the controls on the interface thread, after those queued before it.
    void RunOnInterfaceThread(std::function<void()> update);
    void DrainUpdates();
    bool RefuseWhileUpdating();
    bool DispatchClick(CControlUI* sender);
    void SelectLogonTab(int tab);
    CWebEventHandler& AdsHandler();
    CWebEventHandler& QQHandler();
    CWebEventHandler& WeChatHandler();
    void StartLobby(const std::wstring& arguments);

    CPaintManagerUI paintManager_;
    Seams seams_;
    std::unique_ptr<UiMessagePresenter> ownMessages_;
    MessagePresenter* messages_ = nullptr;
    std::mutex updatesMutex_;
    std::deque<std::function<void()>> updates_;
};

// The one main window of the process, published by its constructor.
extern CLauncherWnd* theLauncherWnd;
