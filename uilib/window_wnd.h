#pragma once
// A native window owned by an object: the class registers itself under GetWindowClassName (or
// as a superclass of GetSuperClassName), every message goes to HandleMessage, and
// OnFinalMessage follows the last one. ShowModal runs a nested message loop until the window
// is closed and returns the code given to Close.
#include <windows.h>

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;
    virtual ~CWindowWnd();

    HWND GetHWND() const { return window_; }
    operator HWND() const { return window_; }

    // Creates the window (registering its class on first use); null on failure.
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rect, HMENU menu = nullptr);
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window, disables its owner and pumps messages until the window is gone;
    // re-enables the owner and returns the code given to Close (0 when closed otherwise).
    UINT ShowModal();
    // Asks the window to close with a result code (posted: the window goes after the caller
    // returns to the message loop).
    void Close(UINT code = IDOK);
    // Centres the window on its owner, or on the work area of its monitor without one, and
    // keeps it inside that work area.
    void CenterWindow();
    // Gives the window this outer size and centres it as CenterWindow does, in one move: a
    // window not yet shown pays for each move and resize it gets.
    void CenterWindowAtSize(int width, int height);
    // Resizes the client area.
    void ResizeClient(int cx = -1, int cy = -1);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual const wchar_t* GetWindowClassName() const = 0;
    // A system class to build on (its procedure handles what HandleMessage passes on); null
    // for a class of our own.
    virtual const wchar_t* GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }
    // The icon of a class of our own; none by default.
    virtual HICON GetClassIcon() const { return nullptr; }
    // Default handling: the class's own procedure (DefWindowProcW or the superclass's).
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY; the window handle is already gone.
    virtual void OnFinalMessage(HWND window);

private:
    bool RegisterWindowClass();
    void PlaceCentered(int width, int height, UINT flags);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC superProc_ = nullptr;
    UINT closeCode_ = 0;
};
