#pragma once
// The window's side of the update run: the status line, the progress bar, the logon button
// and the prompts, for the run's worker thread. Every control update and every prompt happens
// on the interface thread: the updates are queued in call order and applied there, a prompt
// is asked there while the worker waits for the answer. Once the window is gone, updates are
// dropped and prompts answered with the close button.
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "common/message_presenter.h"
#include "update/update_host.h"
#include "window/skin_controls.h"

// Asks the window to apply the control updates the update worker queued.
inline constexpr UINT kDrainUpdatesMessage = WM_APP + 0x101;
// Asks the window to show a prompt for the update worker (lParam: the request).
inline constexpr UINT kAskOnInterfaceMessage = WM_APP + 0x102;
// Shown when a logon or registration is attempted while the update runs.
inline constexpr wchar_t kWaitTitle[] = L"提示";
inline constexpr wchar_t kWaitText[] = L"正在更新请稍后尝试";

class UpdateView : public UpdateHost, private MessagePresenter {
public:
    // The window handle comes from window() (null before creation and once destroyed); the
    // prompts are shown with messages on the interface thread.
    UpdateView(const SkinControls& skin, std::function<HWND()> window, MessagePresenter& messages)
        : skin_(skin), window_(std::move(window)), interfaceMessages_(messages) {}

    // UpdateHost
    void showUpdateState(const std::wstring& text) override;
    void showAllFileProgress(std::int32_t done, std::int32_t total) override;
    void quitProcess() override;
    void finishUpdate(bool allowLogon) override;
    bool isSkinReady() override { return skinReady_.load(); }
    HWND windowHandle() override { return window_(); }
    MessagePresenter& messages() override { return *this; }

    // The skin is built: the run's texts may show from now on.
    void setSkinReady(bool ready) { skinReady_ = ready; }
    // Whether the run has ended and allowed the logon.
    bool logonAllowed() const { return logonAllowed_.load(); }
    void setLogonAllowed(bool allowed) { logonAllowed_ = allowed; }
    // True, after telling the user to wait, while the run has not allowed the logon.
    bool refuseWhileUpdating();
    // Sets the status line's text at once (interface thread).
    void setStatusText(std::wstring_view text) const;

    // The window's handling of kDrainUpdatesMessage and kAskOnInterfaceMessage.
    void drainUpdates();
    LRESULT answerAsked(LPARAM request);
    // The window is being destroyed: nothing queued or asked later reaches it.
    void windowGone();

private:
    // MessagePresenter, for the worker: the prompt shown on the interface thread.
    MessageAnswer show(const std::wstring& title, const std::wstring& text, MessageButtons buttons) override;
    // Runs an update of the controls on the interface thread, after those queued before it.
    void runOnInterfaceThread(std::function<void()> update);
    bool onInterfaceThread(HWND hwnd) const;

    const SkinControls& skin_;
    std::function<HWND()> window_;
    MessagePresenter& interfaceMessages_;
    std::atomic<bool> skinReady_{false};
    std::atomic<bool> logonAllowed_{false};
    std::atomic<bool> gone_{false};
    std::mutex mutex_;
    std::deque<std::function<void()>> updates_;
};
