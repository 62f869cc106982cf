// Shows the launcher's main skin in a window without the launcher, for skin artists and
// screenshots (scripts/screenshot-main-skin.sh):
//
//   skin_preview.exe [--tab N] [--skin FOLDER | --color 0xAARRGGBB] [--set NAME.ATTRIBUTE=VALUE]...
//                    [--ole] [--navigate NAME=URL]...
//
//   --tab N       selects page N of LogonRegister (0 account, 1 registration, 2 QQ, 3 WeChat)
//   --skin N      gives backlayout the colour-skin background of folder N, as the launcher does
//   --color C     gives backlayout the plain colour C instead
//   --set         sets an attribute of a named control, e.g. --set UpdateState.text=正在下载
//                 or --set Image_Account.bkimage="file='LobbexUpdate\tooltip.png' source='16,0,32,16'"
//   --ole         starts OLE first, so that the web areas get a browser where one is installed
//   --navigate    loads a page into a web area, e.g. --navigate web=http://127.0.0.1:9/ads
//
// The page tabs, minimise and close act as in the launcher; nothing else does. The window can
// be dragged by the skin's caption band.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "uilib/container.h"
#include "common/ascii_case.h"
#include "uilib/dialog_builder.h"
#include "uilib/paint_manager.h"
#include "uilib/web_browser.h"
#include "uilib/window_wnd.h"
#include "window/click_table.h"
#include "window/hit_test_rules.h"

namespace {

constexpr wchar_t kSkin[] = L"LobbexUpdate//LobbexUpdate.xml";

struct Setting {
    std::wstring control;
    std::wstring attribute;
    std::wstring value;
};

struct Options {
    int tab = -1;
    int skinFolder = -1;
    bool hasColor = false;
    std::uint32_t color = 0;
    bool ole = false;
    std::vector<Setting> settings;
    std::vector<std::pair<std::wstring, std::wstring>> pages;
};

// False for an argument the preview does not know.
bool parseOptions(int count, wchar_t** args, Options& options) {
    for (int i = 1; i < count; ++i) {
        const std::wstring_view arg = args[i];
        const bool hasValue = i + 1 < count;
        if (arg == L"--tab" && hasValue) {
            options.tab = static_cast<int>(std::wcstol(args[++i], nullptr, 10));
        } else if (arg == L"--skin" && hasValue) {
            options.skinFolder = static_cast<int>(std::wcstol(args[++i], nullptr, 10));
        } else if (arg == L"--color" && hasValue) {
            options.hasColor = true;
            options.color = static_cast<std::uint32_t>(std::wcstoul(args[++i], nullptr, 0));
        } else if (arg == L"--ole") {
            options.ole = true;
        } else if (arg == L"--navigate" && hasValue) {
            const std::wstring_view text = args[++i];
            const std::size_t equals = text.find(L'=');
            if (equals == std::wstring_view::npos) {
                return false;
            }
            options.pages.emplace_back(text.substr(0, equals), text.substr(equals + 1));
        } else if (arg == L"--set" && hasValue) {
            const std::wstring_view text = args[++i];
            const std::size_t dot = text.find(L'.');
            const std::size_t equals = text.find(L'=', dot == std::wstring_view::npos ? 0 : dot);
            if (dot == std::wstring_view::npos || equals == std::wstring_view::npos) {
                return false;
            }
            options.settings.push_back(Setting{std::wstring(text.substr(0, dot)),
                                               std::wstring(text.substr(dot + 1, equals - dot - 1)),
                                               std::wstring(text.substr(equals + 1))});
        } else {
            return false;
        }
    }
    return true;
}

bool isActiveClass(std::wstring_view name) {
    for (const wchar_t* active : {L"ButtonUI", L"ProgressUI", L"TextUI", L"EditUI", L"ComboUI"}) {
        if (equalsIgnoringAsciiCase(name, active)) {
            return true;
        }
    }
    return false;
}

EdgeRect edgesOf(const RECT& r) {
    return EdgeRect{r.left, r.top, r.right, r.bottom};
}

class PreviewWindow : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
public:
    explicit PreviewWindow(Options options) : options_(std::move(options)) {}

    CControlUI* CreateControl(const wchar_t* className) override {
        if (equalsIgnoringAsciiCase(className, L"WebBrowserEx")) {
            return new CWebBrowserUI();
        }
        return nullptr;
    }

    void Notify(UiNotification& notification) override {
        if (notification.type != UiNotifyType::Click || notification.sender == nullptr) {
            return;
        }
        switch (clickActionFor(notification.sender->GetName())) {
            case ClickAction::CloseWindow:
                if (SelectedPage() != 0) {
                    SelectPage(0);
                } else {
                    Close();
                }
                break;
            case ClickAction::Minimise:
                ::ShowWindow(GetHWND(), SW_MINIMIZE);
                break;
            case ClickAction::ShowRegistration:
            case ClickAction::ShowRegistrationFromTop:
                SelectPage(1);
                break;
            case ClickAction::CloseRegistration:
                SelectPage(0);
                break;
            case ClickAction::ShowQQLogon:
                SelectPage(2);
                break;
            case ClickAction::ShowWeChatLogon:
                SelectPage(3);
                break;
            default:
                break;
        }
    }

protected:
    const wchar_t* GetWindowClassName() const override { return L"LobbexSkinPreview"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CREATE:
                return OnCreate();
            case WM_NCHITTEST:
                if (const int code = HitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))) {
                    return code;
                }
                break;
            case WM_DESTROY:
                ::PostQuitMessage(0);
                break;
            default:
                break;
        }
        LRESULT result = 0;
        if (manager_.MessageHandler(message, wParam, lParam, result)) {
            return result;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

private:
    LRESULT OnCreate() {
        manager_.Init(GetHWND());
        CDialogBuilder builder;
        CControlUI* root = builder.Create(kSkin, nullptr, this, &manager_);
        if (!manager_.AttachDialog(root)) {
            return -1;
        }
        manager_.AddNotifier(this);
        const SIZE size = manager_.GetInitSize();
        ::SetWindowPos(GetHWND(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const SIZE corner = manager_.GetRoundCorner();
        if (corner.cx > 0 && corner.cy > 0) {
            // The system owns the region once the window has it.
            ::SetWindowRgn(GetHWND(), ::CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, corner.cx, corner.cy), TRUE);
        }
        ApplyOptions();
        CenterWindow();
        return 0;
    }

    void ApplyOptions() {
        if (CControlUI* back = manager_.FindControl(L"backlayout")) {
            if (options_.skinFolder >= 0) {
                back->SetAttribute(L"bkimage", L"file='res\\Lobbex\\ColorSkin\\" +
                                                   std::to_wstring(options_.skinFolder) +
                                                   L"\\bkg.jpg' corner='1000,750,1,1'");
            } else if (options_.hasColor) {
                back->SetBkImage(L"");
                back->SetBkColor(options_.color);
            }
        }
        for (const Setting& setting : options_.settings) {
            if (CControlUI* control = manager_.FindControl(setting.control)) {
                control->SetAttribute(setting.attribute, setting.value);
            }
        }
        for (const auto& [name, url] : options_.pages) {
            if (auto* web = dynamic_cast<CWebBrowserUI*>(manager_.FindControl(name))) {
                web->Navigate2(url);
            }
        }
        if (options_.tab >= 0) {
            SelectPage(options_.tab);
        }
        manager_.NeedUpdate();
    }

    CTabLayoutUI* Pages() { return dynamic_cast<CTabLayoutUI*>(manager_.FindControl(L"LogonRegister")); }

    int SelectedPage() {
        CTabLayoutUI* pages = Pages();
        return pages != nullptr ? pages->GetCurSel() : 0;
    }

    void SelectPage(int index) {
        if (CTabLayoutUI* pages = Pages()) {
            pages->SelectItem(index);
        }
    }

    int HitTest(int x, int y) {
        RECT window;
        ::GetWindowRect(GetHWND(), &window);
        return hitTestCode(edgesOf(window), edgesOf(manager_.GetCaptionRect()), edgesOf(manager_.GetSizeBox()), x, y,
                           ::IsZoomed(GetHWND()) != FALSE, [&] {
                               POINT client{x, y};
                               ::ScreenToClient(GetHWND(), &client);
                               CControlUI* control = manager_.FindControl(client);
                               return control != nullptr && isActiveClass(control->GetClass());
                           });
    }

    Options options_;
    CPaintManagerUI manager_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    Options options;
    const bool understood = args != nullptr && parseOptions(count, args, options);
    ::LocalFree(args);
    if (!understood) {
        return 2;
    }
    const bool ole = options.ole;
    if (ole && FAILED(::OleInitialize(nullptr))) {
        return 3;
    }
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    int exitCode = 1;
    {
        PreviewWindow window(std::move(options));
        if (window.Create(nullptr, L"Lobbex 游戏大厅", WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, 0, 0, 0, 900,
                          600) != nullptr) {
            ::ShowWindow(window.GetHWND(), SW_SHOWNORMAL);
            MSG message;
            while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (!CPaintManagerUI::TranslateMessage(&message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageW(&message);
                }
            }
            exitCode = 0;
        }
    }
    if (ole) {
        ::OleUninitialize();
    }
    return exitCode;
}
