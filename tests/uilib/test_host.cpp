#include "tests/uilib/test_host.h"

void RecordingNotifier::Notify(UiNotification& notification) {
    heard.push_back(std::wstring(notifyTypeName(notification.type)) + L":" +
                    (notification.sender ? notification.sender->GetName() : L"?"));
}

std::wstring RecordingNotifier::take() {
    std::wstring all;
    for (const std::wstring& note : heard) {
        if (!all.empty()) {
            all += L" ";
        }
        all += note;
    }
    heard.clear();
    return all;
}

bool attachSkin(CPaintManagerUI& manager, std::string_view xml, IDialogBuilderCallback* callback) {
    CDialogBuilder builder;
    CControlUI* root = builder.CreateFromText(xml, callback, &manager);
    return root != nullptr && manager.AttachDialog(root);
}

bool TestWindow::Build(std::string_view xml, HWND owner) {
    xml_ = xml;
    return Create(owner, L"test", WS_POPUP | WS_CLIPCHILDREN, 0, 50, 50, 100, 100) != nullptr &&
           manager.GetRoot() != nullptr;
}

bool TestWindow::Open(std::string_view xml, HWND owner, bool activate) {
    if (!Build(xml, owner)) {
        return false;
    }
    ::ShowWindow(GetHWND(), activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    ::UpdateWindow(GetHWND());
    // What waits for the first frame (an embedded browser) is made when the window hears of it.
    MSG message;
    while (!manager.HasPainted() && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

LRESULT TestWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        manager.Init(GetHWND());
        if (!attachSkin(manager, xml_)) {
            return -1;
        }
        manager.AddNotifier(&notes);
        const SIZE size = manager.GetInitSize();
        ::SetWindowPos(GetHWND(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        ++enterKeys;
    }
    LRESULT result = 0;
    if (manager.MessageHandler(message, wParam, lParam, result)) {
        return result;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}
