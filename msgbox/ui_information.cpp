#include "msgbox/ui_information.h"

#include "settings/color_skin_choice.h"

#include "msgbox/color_skin_ui.h"
#include "settings/color_skin.h"

#include "msgbox/message_box_rules.h"
#include "settings/platform_reg_key.h"

namespace {

constexpr DWORD kBoxStyle = 0x10CF0000;  // WS_VISIBLE | WS_OVERLAPPEDWINDOW
constexpr DWORD kBoxExStyle = 0x81;      // WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW
constexpr wchar_t kButtonNames[3][8] = {L"button0", L"button1", L"button2"};

}  // namespace

CUiInformation::CUiInformation(IDialogBuilderCallback* controlFactory, HWND owner)
    : controlFactory_(controlFactory), owner_(owner) {}

unsigned CUiInformation::ShowMessageBox(std::wstring_view title, std::wstring_view text, std::uint32_t style) {
    title_ = title;
    content_ = text;
    style_ = style;
    if (Create(owner_, L"", kBoxStyle, kBoxExStyle, 0, 0, 300, 100) == nullptr) {
        // Without its skin the box could not be answered at all: the system's box stands in.
        const UINT systemStyle = (style & 0xF) <= 5 ? (style & 0xF) : MB_OK;
        const int answer = ::MessageBoxW(owner_, content_.c_str(), title_.c_str(), systemStyle | MB_TASKMODAL);
        return messageBoxResultFromSystem(style, answer);
    }
    CenterWindow();
    ApplyColorSkin();
    SetUpButtons();
    return ShowModal();
}

void CUiInformation::ApplyColorSkin() {
    // Without a choice the box takes skin number 1 (the picture of folder 0).
    const ColorSkinChoice choice = readColorSkinChoice({1, kNoSkinColor});
    applyColorSkin(paintManager_.FindControl(L"MessageBox_back"), choice.type, choice.color);
}

void CUiInformation::SetUpButtons() {
    CControlUI* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = paintManager_.FindControl(kButtonNames[i]);
        if (buttons[i] != nullptr) {
            buttons[i]->SetVisible(false);
        }
    }
    const MessageBoxButtonSet set = messageBoxButtons(style_);
    for (int i = 0; i < 3; ++i) {
        if (buttons[i] == nullptr || !set.buttons[i].visible) {
            continue;
        }
        if (set.buttons[i].label) {
            buttons[i]->SetText(*set.buttons[i].label);
        }
        buttons[i]->SetVisible(true);
    }
}

void CUiInformation::SetControlText(const wchar_t* name, std::wstring_view text) {
    if (CControlUI* control = paintManager_.FindControl(name)) {
        control->SetText(text);
    }
}

LRESULT CUiInformation::OnCreate() {
    paintManager_.Init(GetHWND());
    CDialogBuilder builder;
    CControlUI* root = builder.Create(kMessageBoxSkin, nullptr, controlFactory_, &paintManager_);
    if (root == nullptr) {
        return -1;
    }
    ::SetWindowLongPtrW(GetHWND(), GWL_STYLE, 0);
    ::SetWindowLongPtrW(GetHWND(), GWL_EXSTYLE, 0);
    paintManager_.AttachDialog(root);
    paintManager_.AddNotifier(this);
    const SIZE size = paintManager_.GetInitSize();
    ::SetWindowPos(GetHWND(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetControlText(L"content", content_);
    SetControlText(L"title", title_);
    if (CControlUI* third = paintManager_.FindControl(L"button2")) {
        third->SetVisible(false);
    }
    return 0;
}

LRESULT CUiInformation::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_NCHITTEST: {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::ScreenToClient(GetHWND(), &point);
            RECT client;
            ::GetClientRect(GetHWND(), &client);
            if (inMessageBoxDragBand(client.left, client.right, point.x, point.y)) {
                return HTCAPTION;
            }
            break;
        }
        case WM_KEYDOWN:
            // As a system box: Escape answers like the close button, Enter like the default
            // button unless the user has tabbed to another one.
            if (wParam == VK_ESCAPE) {
                Close(1);
                return 0;
            }
            if (wParam == VK_RETURN && paintManager_.GetFocus() == nullptr) {
                Close(messageBoxDefaultResult(style_));
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            // Alt+F4 answers like the close button.
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                Close(1);
                return 0;
            }
            break;
        default:
            break;
    }
    LRESULT result = 0;
    if (paintManager_.MessageHandler(message, wParam, lParam, result)) {
        return result;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CUiInformation::Notify(UiNotification& notification) {
    if (notification.type != UiNotifyType::Click || notification.sender == nullptr) {
        return;
    }
    if (const std::optional<unsigned> code = messageBoxResultFor(notification.sender->GetName())) {
        Close(*code);
    }
}
