#pragma once
// The skinned modal message box: a title, a text and up to three buttons with Chinese labels
// chosen by a button style numbered like the system's, in the user's colour skin. One object
// serves one ShowMessageBox call; it lives on the caller's stack.
#include <cstdint>
#include <string>
#include <string_view>

#include "uilib/dialog_builder.h"
#include "uilib/notify.h"
#include "uilib/paint_manager.h"
#include "uilib/window_wnd.h"

// The skin, relative to the resource path.
inline constexpr wchar_t kMessageBoxSkin[] = L"res//Lobbex//MessageBox/MessageBox.xml";

class CUiInformation : public CWindowWnd, public INotifyUI {
public:
    // controlFactory builds the skin's custom controls (none: the library's own only); owner is
    // the window the box belongs to and disables while it is up (none: a box of its own).
    explicit CUiInformation(IDialogBuilderCallback* controlFactory = nullptr, HWND owner = nullptr);

    // Shows the box on the calling thread and returns when it has closed: 6 for button0, 7 for
    // button1, 2 for button2, 1 for the close button. Only the low 4 bits of style count.
    [[nodiscard]] unsigned ShowMessageBox(std::wstring_view title, std::wstring_view text, std::uint32_t style);

    void Notify(UiNotification& notification) override;

    CPaintManagerUI& PaintManager() { return paintManager_; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"CUiInformation"; }
    UINT GetClassStyle() const override { return CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The object belongs to the caller's stack, not to the window.
    void OnFinalMessage(HWND) override {}

private:
    LRESULT OnCreate();
    void ApplyColorSkin();
    void SetUpButtons();
    void SetControlText(const wchar_t* name, std::wstring_view text);

    std::uint32_t style_ = 0;
    std::wstring content_;
    std::wstring title_;
    CPaintManagerUI paintManager_;
    IDialogBuilderCallback* controlFactory_;
    HWND owner_;
};
