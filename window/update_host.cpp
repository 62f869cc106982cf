// What the update run asks of the window, called on the worker thread. The control updates are
// queued and applied on the interface thread, in the order of the calls.
#include <windows.h>

#include "uilib/progress.h"
#include "update/progress.h"
#include "window/launcher_wnd.h"

void CLauncherWnd::RunOnInterfaceThread(std::function<void()> update) {
    const HWND hwnd = GetHwnd();
    if (hwnd == nullptr) {
        update();  // no window (yet): nothing to hand over to
        return;
    }
    if (::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId()) {
        DrainUpdates();  // what was queued before comes first
        update();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(updatesMutex_);
        updates_.push_back(std::move(update));
    }
    ::PostMessageW(hwnd, kDrainUpdatesMessage, 0, 0);
}

void CLauncherWnd::DrainUpdates() {
    for (;;) {
        std::function<void()> update;
        {
            std::lock_guard<std::mutex> lock(updatesMutex_);
            if (updates_.empty()) {
                return;
            }
            update = std::move(updates_.front());
            updates_.pop_front();
        }
        update();
    }
}

void CLauncherWnd::showUpdateState(const std::wstring& text) {
    if (!skinReady.load()) {
        return;
    }
    RunOnInterfaceThread([this, text] { SetStatusText(text); });
}

void CLauncherWnd::showAllFileProgress(std::int32_t done, std::int32_t total) {
    if (!skinReady.load() || total == 0) {
        return;
    }
    const int value = progressPercent(done, total);
    RunOnInterfaceThread([this, value] {
        if (auto* progress = Find<CProgressUI>(L"AllFileProgress")) {
            progress->SetValue(value);
        }
    });
}

void CLauncherWnd::quitProcess() {
    ::ExitProcess(0);
}

void CLauncherWnd::finishUpdate(bool allowLogon) {
    // Visible to the interface thread as soon as this returns.
    logonAllowed.store(allowLogon);
    RunOnInterfaceThread([this] {
        if (CControlUI* logon = PaintManager().FindControl(L"Logon")) {
            logon->SetEnabled(true);
        }
        SetStatusText(L"");
        if (auto* progress = Find<CProgressUI>(L"AllFileProgress")) {
            progress->SetValue(0);
        }
        // Start-up milestone for a debugger or a debug-output monitor (bench/startup_bench).
        ::OutputDebugStringW(L"LobbexLauncher: update finished\n");
    });
}
