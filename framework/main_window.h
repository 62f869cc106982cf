#pragma once
// What the application's message loop needs of its main window. The window itself is made by
// the UI library's window class; the framework only runs the loop around it.
#include <windows.h>

class MainWindow {
public:
    virtual HWND Handle() const = 0;
    // Called by the message loop for every queued message before it is dispatched; true when
    // the message is consumed.
    virtual bool PreTranslateMessage(MSG& message) = 0;

protected:
    ~MainWindow() = default;
};
