#pragma once
// The browser control of the launcher's skin. Its pages see the control itself as
// window.external, with two script methods that log the user on and start the lobby client:
// fnQQLogon(first, second) and fnAccountLogon(first, second), both with two strings.
#include "uilib/web_browser.h"
#include "browser/web_logon_handler.h"

class WebBrowserEx : public CWebBrowserUI {
public:
    static constexpr DISPID kQQLogon = 300;
    static constexpr DISPID kAccountLogon = 400;

    // target: the main window's logon handler, not owned; none leaves the methods without effect.
    explicit WebBrowserEx(IWebLogonHandler* target = nullptr) : logonTarget_(target) {}
    ~WebBrowserEx() override = default;

    IWebLogonHandler* LogonTarget() const { return logonTarget_; }

    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    IWebLogonHandler* logonTarget_;
};
