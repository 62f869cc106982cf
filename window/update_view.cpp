#include "window/update_view.h"

#include "uilib/progress.h"
#include "update/progress.h"

namespace {

struct AskRequest {
    const std::wstring* title;
    const std::wstring* text;
    MessageButtons buttons;
};

}  // namespace

bool UpdateView::onInterfaceThread(HWND hwnd) const {
    return ::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId();
}

void UpdateView::runOnInterfaceThread(std::function<void()> update) {
    const HWND hwnd = window_();
    if (hwnd == nullptr || gone_.load()) {
        return;  // no window to show it in: never touched from the worker
    }
    if (onInterfaceThread(hwnd)) {
        drainUpdates();  // what was queued before comes first
        update();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        updates_.push_back(std::move(update));
    }
    ::PostMessageW(hwnd, kDrainUpdatesMessage, 0, 0);
}

void UpdateView::drainUpdates() {
    for (;;) {
        std::function<void()> update;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (updates_.empty() || gone_.load()) {
                return;
            }
            update = std::move(updates_.front());
            updates_.pop_front();
        }
        update();
    }
}

void UpdateView::windowGone() {
    gone_ = true;
    std::lock_guard<std::mutex> lock(mutex_);
    updates_.clear();
}

MessageAnswer UpdateView::show(const std::wstring& title, const std::wstring& text, MessageButtons buttons) {
    const HWND hwnd = window_();
    if (hwnd == nullptr || gone_.load()) {
        return MessageAnswer::CloseButton;
    }
    if (onInterfaceThread(hwnd)) {
        return interfaceMessages_.show(title, text, buttons);
    }
    AskRequest request{&title, &text, buttons};
    DWORD_PTR answer = static_cast<DWORD_PTR>(MessageAnswer::CloseButton);
    // The worker waits while the interface thread shows the prompt; a window that is destroyed
    // meanwhile gives the close button.
    if (::SendMessageTimeoutW(hwnd, kAskOnInterfaceMessage, 0, reinterpret_cast<LPARAM>(&request), SMTO_NORMAL,
                              INFINITE, &answer) == 0) {
        return MessageAnswer::CloseButton;
    }
    return static_cast<MessageAnswer>(answer);
}

LRESULT UpdateView::answerAsked(LPARAM request) {
    const auto* asked = reinterpret_cast<const AskRequest*>(request);
    if (asked == nullptr || gone_.load()) {
        return static_cast<LRESULT>(MessageAnswer::CloseButton);
    }
    drainUpdates();  // the texts the worker set before it asked
    return static_cast<LRESULT>(interfaceMessages_.show(*asked->title, *asked->text, asked->buttons));
}

void UpdateView::setStatusText(std::wstring_view text) const {
    skin_.setText(L"UpdateState", text);
}

void UpdateView::showUpdateState(const std::wstring& text) {
    if (!skinReady_.load()) {
        return;
    }
    runOnInterfaceThread([this, text] { setStatusText(text); });
}

void UpdateView::showAllFileProgress(std::int32_t done, std::int32_t total) {
    if (!skinReady_.load() || total == 0) {
        return;
    }
    const int value = progressPercent(done, total);
    runOnInterfaceThread([this, value] {
        if (auto* progress = skin_.find<CProgressUI>(L"AllFileProgress")) {
            progress->SetValue(value);
        }
    });
}

void UpdateView::quitProcess() {
    ::ExitProcess(0);
}

void UpdateView::finishUpdate(bool allowLogon) {
    // Visible to the interface thread as soon as this returns.
    logonAllowed_ = allowLogon;
    runOnInterfaceThread([this] {
        skin_.setEnabled(L"Logon", true);
        setStatusText(L"");
        if (auto* progress = skin_.find<CProgressUI>(L"AllFileProgress")) {
            progress->SetValue(0);
        }
        // Start-up milestone for a debugger or a debug-output monitor (bench/startup_bench).
        ::OutputDebugStringW(L"LobbexLauncher: update finished\n");
    });
}

bool UpdateView::refuseWhileUpdating() {
    if (logonAllowed_.load()) {
        return false;
    }
    (void)interfaceMessages_.show(kWaitTitle, kWaitText, MessageButtons::Ok);
    return true;
}
