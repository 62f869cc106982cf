// Links in the default browser, and the platform's pages in the skin's browser controls.
#include <windows.h>
#include <shellapi.h>

#include "browser/web_event_handler.h"
#include "common/build_settings.h"
#include "uilib/web_browser.h"
#include "window/launcher_wnd.h"
#include "window/web_urls.h"

// One handler per page for the whole program, made the first time its page is loaded.
CWebEventHandler& CLauncherWnd::AdsHandler() {
    static CWebEventHandler handler;
    return handler;
}

CWebEventHandler& CLauncherWnd::QQHandler() {
    static CWebEventHandler handler;
    return handler;
}

CWebEventHandler& CLauncherWnd::WeChatHandler() {
    static CWebEventHandler handler;
    return handler;
}

void CLauncherWnd::OpenWebLink(int kind) {
    const std::wstring url = webLinkUrl(kind, kWebBaseUrl, kServiceChatUrl);
    if (url.empty()) {
        return;  // not a link kind: nothing to open
    }
    if (seams_.openLink) {
        seams_.openLink(url);
        return;
    }
    ::ShellExecuteW(nullptr, L"OPEN", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CLauncherWnd::ShowAdsPage(std::wstring_view controlName, bool show) {
    auto* browser = Find<CWebBrowserUI>(controlName);
    if (browser == nullptr || !show) {
        return;
    }
    browser->SetWebBrowserEventHandler(&AdsHandler());
    const std::wstring url = adsPageUrl(kWebBaseUrl, browser->GetX(), browser->GetY(), skinType, skinColor);
    browser->Navigate2(L"about:blank");
    browser->Navigate2(url);
    browser->SetVisible(true);
}

void CLauncherWnd::ShowQQLogonPage(std::wstring_view controlName, bool show) {
    auto* browser = Find<CWebBrowserUI>(controlName);
    if (browser == nullptr || !show || qqPageLoaded) {
        return;
    }
    qqPageLoaded = true;
    browser->SetWebBrowserEventHandler(&QQHandler());
    const std::wstring url = qqLogonPageUrl(kWebBaseUrl);
    browser->NavigateUrl(L"");
    browser->Navigate2(L"about:blank");
    browser->Navigate2(url);
}

void CLauncherWnd::ShowWeChatLogonPage() {
    auto* browser = Find<CWebBrowserUI>(L"WeixLogonWeb");
    if (browser == nullptr) {
        return;
    }
    browser->SetWebBrowserEventHandler(&WeChatHandler());
    browser->Navigate2(L"about:blank");
    browser->Navigate2(weChatLogonPageUrl(kWebBaseUrl));
}

void CLauncherWnd::ShowRegisterPage(std::wstring_view controlName, bool show) {
    auto* browser = Find<CWebBrowserUI>(controlName);
    if (browser == nullptr || !show || registerPageLoaded) {
        return;
    }
    registerPageLoaded = true;
    browser->NavigateUrl(L"");
    browser->Navigate2(registerPageUrl(kWebBaseUrl));
}

void CLauncherWnd::LoadStartupPages() {
    ShowAdsPage(L"web", true);
    ShowQQLogonPage(L"QQLogonWeb", true);
}
