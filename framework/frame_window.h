#pragma once
// A native window driven by the framework: the framework's procedure is attached before the
// window's first message, and every message goes through the window's message map
// (OnMessage) before the procedure the window class names.
#include <windows.h>

class FrameWindow {
public:
    FrameWindow() = default;
    virtual ~FrameWindow();
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // Creates the native window; false when the platform refuses.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu, void* parameter);
    HWND GetHwnd() const { return hwnd_; }
    // Centres the window on reference (its owner when none is given), or on the work area of
    // the screen when there is no such window.
    void CenterWindow(HWND reference = nullptr);

    // The message map: true when the message was handled, with its result set.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called by the message loop for every queued message before it is dispatched; true when
    // the message is consumed.
    virtual bool PreTranslateMessage(MSG& message);

    // What the window's class procedure does with a message.
    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FrameworkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static FrameWindow* FromHandle(HWND hwnd);

protected:
    // The framework's own end of a window: detaches it and, for the application's main
    // window, ends the message loop.
    virtual void OnNcDestroy();

private:
    friend LRESULT CALLBACK frameworkCreationHook(int, WPARAM, LPARAM);
    void attach(HWND hwnd);

    HWND hwnd_ = nullptr;
    WNDPROC classProc_ = nullptr;
};
