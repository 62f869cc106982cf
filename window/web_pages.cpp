#include "window/web_pages.h"

#include <windows.h>
#include <shellapi.h>

#include "browser/web_event_handler.h"
#include "common/build_settings.h"
#include "uilib/web_browser.h"

namespace {

// One handler per page for the whole program: the browser controls keep a pointer to it
// until they are destroyed, whenever that is.
CWebEventHandler& adsHandler() {
    static CWebEventHandler handler;
    return handler;
}

CWebEventHandler& qqHandler() {
    static CWebEventHandler handler;
    return handler;
}

CWebEventHandler& weChatHandler() {
    static CWebEventHandler handler;
    return handler;
}

}  // namespace

void WebPages::openLink(WebLink kind) const {
    const std::wstring url = webLinkUrl(kind, kWebBaseUrl, kServiceChatUrl);
    if (url.empty()) {
        return;
    }
    if (openLink_) {
        openLink_(url);
        return;
    }
    ::ShellExecuteW(nullptr, L"OPEN", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void WebPages::showAds(std::wstring_view controlName) const {
    auto* browser = skin_.find<CWebBrowserUI>(controlName);
    if (browser == nullptr) {
        return;
    }
    browser->SetWebBrowserEventHandler(&adsHandler());
    const std::wstring url = adsPageUrl(kWebBaseUrl, browser->GetX(), browser->GetY(), colors_.type, colors_.color);
    browser->Navigate2(L"about:blank");
    browser->Navigate2(url);
    browser->SetVisible(true);
}

void WebPages::showQQLogon(std::wstring_view controlName) {
    auto* browser = skin_.find<CWebBrowserUI>(controlName);
    if (browser == nullptr || qqPageLoaded_) {
        return;
    }
    qqPageLoaded_ = true;
    browser->SetWebBrowserEventHandler(&qqHandler());
    browser->NavigateUrl(L"");
    browser->Navigate2(L"about:blank");
    browser->Navigate2(qqLogonPageUrl(kWebBaseUrl));
}

void WebPages::showWeChatLogon() const {
    auto* browser = skin_.find<CWebBrowserUI>(L"WeixLogonWeb");
    if (browser == nullptr) {
        return;
    }
    browser->SetWebBrowserEventHandler(&weChatHandler());
    browser->Navigate2(L"about:blank");
    browser->Navigate2(weChatLogonPageUrl(kWebBaseUrl));
}

void WebPages::showRegister(std::wstring_view controlName) {
    auto* browser = skin_.find<CWebBrowserUI>(controlName);
    if (browser == nullptr || registerPageLoaded_) {
        return;
    }
    registerPageLoaded_ = true;
    browser->NavigateUrl(L"");
    browser->Navigate2(registerPageUrl(kWebBaseUrl));
}

void WebPages::loadStartupPages() {
    showAds(L"web");
    showQQLogon(L"QQLogonWeb");
}
