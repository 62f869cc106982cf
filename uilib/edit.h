#pragma once
// A text field. With a window, a native single-line edit box lies over the control and does
// the typing; it sends "textchanged" for the user's typing, "setfocus" and "killfocus" as it
// gains and loses the keyboard, and hands Enter to the window. Without a window the control
// keeps its text alone.
#include "uilib/label.h"

#include "uilib/gdi_handles.h"

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;
    std::wstring_view GetClass() const override { return L"EditUI"; }

    std::wstring GetText() const override;
    // Setting the text from code sends no "textchanged".
    void SetText(std::wstring_view text) override;
    bool IsPasswordMode() const { return password_; }
    void SetPasswordMode(bool password);
    int GetMaxChar() const { return maxChar_; }
    void SetMaxChar(int maxChar);
    bool IsReadOnly() const { return readOnly_; }

    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void SetPos(const RECT& pos) override;
    void SetVisible(bool visible) override;
    void SetInternVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void DoEvent(UiEvent& event) override;
    bool IsFocusable() const override { return true; }
    void OnWindowAttached() override;
    void OnWindowDetached() override;
    void OnNativeCommand(WORD code) override;

    // The native edit box; null without a window.
    HWND GetNativeWindow() const override { return native_; }
    // The brush for WM_CTLCOLOREDIT: the control's background behind the typed text.
    HBRUSH NativeBackground(HDC dc) override;

protected:
    void PaintText(HDC dc) override;

private:
    void CreateNative();
    void SyncNative();
    static LRESULT CALLBACK NativeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND native_ = nullptr;
    WNDPROC nativeDefault_ = nullptr;
    UniqueGdiObject nativeBrush_;
    std::uint32_t nativeBrushColor_ = 0;
    bool password_ = false;
    bool readOnly_ = false;
    bool settingText_ = false;
    int maxChar_ = 255;
    wchar_t passwordChar_ = L'\x25CF';
    std::uint32_t nativeBkColor_ = 0xFFFFFFFF;
};
