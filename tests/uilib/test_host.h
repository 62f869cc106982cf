#pragma once
// Helpers of the UI library's tests: a notifier that records what it hears, skins from text,
// and a plain window that hosts a paint manager.
#include <string>
#include <string_view>
#include <vector>

#include "uilib/dialog_builder.h"
#include "uilib/paint_manager.h"
#include "uilib/window_wnd.h"

// Records notifications as "type:sender name".
class RecordingNotifier : public INotifyUI {
public:
    void Notify(UiNotification& notification) override;
    std::vector<std::wstring> heard;
    // The notifications heard so far, joined with " ", and forgotten.
    std::wstring take();
};

// Builds xml into manager (window attributes included) and attaches the root; false on failure.
bool attachSkin(CPaintManagerUI& manager, std::string_view xml, IDialogBuilderCallback* callback = nullptr);

// A window whose whole surface is a skin, for tests that need real messages.
class TestWindow : public CWindowWnd {
public:
    // Creates the window from xml at the skin's size, shown (activated unless asked not to) and
    // painted, and registers the recorder.
    bool Open(std::string_view xml, HWND owner = nullptr, bool activate = true);
    // Only creates the window from xml: hidden, never painted yet.
    bool Build(std::string_view xml, HWND owner = nullptr);
    CPaintManagerUI manager;
    RecordingNotifier notes;
    // Messages the window's own procedure saw for the Enter key.
    int enterKeys = 0;

protected:
    const wchar_t* GetWindowClassName() const override { return L"LobbexUiTestWindow"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string xml_;
};
