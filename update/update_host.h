#pragma once
// What the update run requires of the window that hosts it. The run calls these on its
// worker thread; the host makes the control updates safe and keeps them in call order.
#include <windows.h>

#include <cstdint>
#include <string>

class MessagePresenter;

class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    // When the skin is ready: the status line shows the text.
    virtual void showUpdateState(const std::wstring& text) = 0;
    // When the skin is ready and total is not 0: the progress bar shows done of total.
    virtual void showAllFileProgress(std::int32_t done, std::int32_t total) = 0;
    // Ends the whole process at once with exit code 0; does not return.
    virtual void quitProcess() = 0;
    // Sets whether logon is allowed, enables the logon button, empties the status line and
    // the progress bar.
    virtual void finishUpdate(bool allowLogon) = 0;
    virtual bool isSkinReady() = 0;
    virtual HWND windowHandle() = 0;
    // The message box the run asks its questions with, shown on the calling (worker) thread.
    virtual MessagePresenter& messages() = 0;
};
