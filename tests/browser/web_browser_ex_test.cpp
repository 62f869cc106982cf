// The script bridge, called exactly as a page's script engine calls window.external.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "browser/web_browser_ex.h"
#include "browser/web_event_handler.h"
#include "common/com_ptr.h"

namespace {

struct Call {
    std::wstring method, page, first, second;
};

class RecordingLogon : public IWebLogonHandler {
public:
    std::vector<Call> calls;
    void OnQQLogon(const std::wstring& page, const std::wstring& first, const std::wstring& second) override {
        calls.push_back({L"qq", page, first, second});
    }
    void OnAccountLogon(const std::wstring& page, const std::wstring& first, const std::wstring& second) override {
        calls.push_back({L"account", page, first, second});
    }
};

// A logon target whose logon fails by throwing what `fail` throws.
class ThrowingLogon : public IWebLogonHandler {
public:
    explicit ThrowingLogon(std::function<void()> fail) : fail_(std::move(fail)) {}
    void OnQQLogon(const std::wstring&, const std::wstring&, const std::wstring&) override { fail_(); }
    void OnAccountLogon(const std::wstring&, const std::wstring&, const std::wstring&) override { fail_(); }

private:
    std::function<void()> fail_;
};

// A script's call with its arguments in script order; DISPPARAMS lists them last first.
class ScriptCall {
public:
    explicit ScriptCall(std::vector<VARIANT> scriptOrder) : arguments_(scriptOrder.rbegin(), scriptOrder.rend()) {
        params_.rgvarg = arguments_.empty() ? nullptr : arguments_.data();
        params_.cArgs = static_cast<UINT>(arguments_.size());
    }
    ~ScriptCall() {
        for (VARIANT& argument : arguments_) {
            ::VariantClear(&argument);
        }
    }
    DISPPARAMS* params() { return &params_; }

private:
    std::vector<VARIANT> arguments_;
    DISPPARAMS params_{};
};

VARIANT text(const wchar_t* value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(value);
    return v;
}

VARIANT number(int value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// The control's window.external, as the browser asks for it.
ComPtr<IDispatch> externalOf(WebBrowserEx& control) {
    ComPtr<IDispatch> external;
    EXPECT_EQ(static_cast<IDocHostUIHandler&>(control).GetExternal(external.put()), S_OK);
    return external;
}

DISPID idOf(const ComPtr<IDispatch>& external, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = -7;
    const HRESULT hr = external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return SUCCEEDED(hr) ? id : DISPID_UNKNOWN;
}

TEST(ScriptBridge, NamesMapToTheirIdentifiers) {
    RecordingLogon logon;
    WebBrowserEx control(&logon);
    const ComPtr<IDispatch> external = externalOf(control);
    ASSERT_NE(external.get(), nullptr);
    EXPECT_EQ(idOf(external, L"fnQQLogon"), 300);
    EXPECT_EQ(idOf(external, L"fnAccountLogon"), 400);
    EXPECT_EQ(idOf(external, L"fnqqlogon"), DISPID_UNKNOWN) << "other letter case goes to the base lookup";
    EXPECT_EQ(idOf(external, L"somethingElse"), DISPID_UNKNOWN);

    LPOLESTR both[] = {const_cast<LPOLESTR>(L"fnAccountLogon"), const_cast<LPOLESTR>(L"fnQQLogon")};
    DISPID ids[2] = {-7, -7};
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, both, 2, LOCALE_USER_DEFAULT, ids), S_OK);
    EXPECT_EQ(ids[0], 400);
    EXPECT_EQ(ids[1], -7) << "only the first name is mapped";
}

// A browser control showing a given page (no web engine runs here).
class ShowingPage : public WebBrowserEx {
public:
    ShowingPage(IWebLogonHandler* target, std::wstring page) : WebBrowserEx(target), page_(std::move(page)) {}
    std::wstring PageUrl() const override { return page_; }

private:
    std::wstring page_;
};

TEST(ScriptBridge, CallsReachTheLogonHandlerInScriptOrderWithTheCallingPage) {
    RecordingLogon logon;
    ShowingPage control(&logon, L"http://www.example.cn//qlogin.aspx");
    const ComPtr<IDispatch> external = externalOf(control);
    ScriptCall qq({text(L"openid-1"), text(L"token-2")});
    external->Invoke(300, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, qq.params(), nullptr, nullptr, nullptr);
    ScriptCall account({text(L"user"), text(L"")});
    external->Invoke(400, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, account.params(), nullptr, nullptr, nullptr);
    ASSERT_EQ(logon.calls.size(), 2u);
    EXPECT_EQ(logon.calls[0].method, L"qq");
    EXPECT_EQ(logon.calls[0].page, L"http://www.example.cn//qlogin.aspx");
    EXPECT_EQ(logon.calls[0].first, L"openid-1");
    EXPECT_EQ(logon.calls[0].second, L"token-2");
    EXPECT_EQ(logon.calls[1].method, L"account");
    EXPECT_EQ(logon.calls[1].first, L"user");
    EXPECT_EQ(logon.calls[1].second, L"");
}

TEST(ScriptBridge, CallsThatDoNotFitAreRefused) {
    RecordingLogon logon;
    WebBrowserEx control(&logon);
    const ComPtr<IDispatch> external = externalOf(control);

    ScriptCall rightCall({text(L"a"), text(L"b")});
    const GUID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(external->Invoke(300, other, 0, DISPATCH_METHOD, rightCall.params(), nullptr, nullptr, nullptr),
              E_INVALIDARG);

    ScriptCall one({text(L"a")});
    EXPECT_EQ(external->Invoke(300, IID_NULL, 0, DISPATCH_METHOD, one.params(), nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    ScriptCall three({text(L"a"), text(L"b"), text(L"c")});
    EXPECT_EQ(external->Invoke(400, IID_NULL, 0, DISPATCH_METHOD, three.params(), nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(external->Invoke(400, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    ScriptCall numberFirst({number(5), text(L"b")});
    UINT badArgument = 99;
    EXPECT_EQ(external->Invoke(300, IID_NULL, 0, DISPATCH_METHOD, numberFirst.params(), nullptr, nullptr, &badArgument),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(badArgument, 1u) << "the script's first argument is the last entry";
    EXPECT_TRUE(logon.calls.empty());
}

TEST(ScriptBridge, WithoutATargetTheMethodsDoNothing) {
    WebBrowserEx control;
    const ComPtr<IDispatch> external = externalOf(control);
    EXPECT_EQ(idOf(external, L"fnQQLogon"), 300);
    ScriptCall call({text(L"a"), text(L"b")});
    const HRESULT hr = external->Invoke(300, IID_NULL, 0, DISPATCH_METHOD, call.params(), nullptr, nullptr, nullptr);
    EXPECT_NE(hr, E_INVALIDARG);
}

TEST(ScriptBridge, AnExceptionInTheLogonComesBackToTheScriptAsAFailure) {
    struct Case {
        const char* what;
        DISPID id;
        std::function<void()> fail;
        HRESULT expected;
    };
    const Case cases[] = {
        {"out of memory in the QQ logon", WebBrowserEx::kQQLogon, [] { throw std::bad_alloc(); }, E_OUTOFMEMORY},
        {"an error in the account logon", WebBrowserEx::kAccountLogon, [] { throw std::runtime_error("no lobby"); },
         E_UNEXPECTED},
        {"something thrown that is no exception class", WebBrowserEx::kQQLogon, [] { throw 7; }, E_UNEXPECTED},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        ThrowingLogon logon(test.fail);
        WebBrowserEx control(&logon);
        const ComPtr<IDispatch> external = externalOf(control);
        ScriptCall call({text(L"a"), text(L"b")});
        EXPECT_EQ(external->Invoke(test.id, IID_NULL, 0, DISPATCH_METHOD, call.params(), nullptr, nullptr, nullptr),
                  test.expected);
        // The bridge still answers the next call.
        EXPECT_EQ(idOf(external, L"fnAccountLogon"), WebBrowserEx::kAccountLogon);
        ScriptCall wrong({text(L"a")});
        EXPECT_EQ(external->Invoke(test.id, IID_NULL, 0, DISPATCH_METHOD, wrong.params(), nullptr, nullptr, nullptr),
                  DISP_E_BADPARAMCOUNT);
    }
}

TEST(WebEventHandler, NoContextMenuAndNoBorder) {
    CWebEventHandler handler;
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    info.dwFlags = DOCHOSTUIFLAG_SCROLL_NO;
    EXPECT_EQ(handler.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_NO3DBORDER));
    EXPECT_EQ(handler.GetHostInfo(nullptr), S_OK);
    POINT point{};
    EXPECT_EQ(handler.ShowContextMenu(0, &point, nullptr, nullptr), S_OK);
    CWebBrowserEventHandler plain;
    info.dwFlags = 0;
    plain.GetHostInfo(&info);
    EXPECT_EQ(info.dwFlags, 0u) << "pages without the handler keep the browser's border";
}

}  // namespace
