// The browser control: what it does without an engine (Wine has none offline), its IDispatch,
// and its answers to the browser with and without an event handler.
#include "uilib/web_browser.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "common/com_ptr.h"
#include "tests/support/window_driver.h"
#include "tests/uilib/test_host.h"
#include "uilib/container.h"

namespace {

// Records the navigation events it is given and answers one question of its own.
class RecordingHandler : public CWebBrowserEventHandler {
public:
    void NavigateComplete2(IDispatch*, VARIANT* url) override {
        completed = url != nullptr && url->vt == VT_BSTR ? url->bstrVal : L"?";
    }
    void ProgressChange(LONG progress, LONG most) override { this->progress = progress * 1000 + most; }
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override {
        if (info != nullptr) {
            info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
        }
        return S_OK;
    }
    std::wstring completed;
    LONG progress = 0;
};

// A handler whose every answer fails by throwing what `fail` throws.
class ThrowingHandler : public CWebBrowserEventHandler {
public:
    explicit ThrowingHandler(std::function<void()> fail) : fail_(std::move(fail)) {}
    void NavigateComplete2(IDispatch*, VARIANT*) override { fail_(); }
    HRESULT GetHostInfo(DOCHOSTUIINFO*) override { return fail(); }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return fail(); }
    HRESULT TranslateUrl(DWORD, OLECHAR*, OLECHAR**) override { return fail(); }
    HRESULT GetExternal(IDispatch**) override { return fail(); }

private:
    HRESULT fail() {
        fail_();
        return S_OK;
    }
    std::function<void()> fail_;
};

// A control with script methods of its own, as a window adds them, falling back to the base.
class ScriptedBrowser : public CWebBrowserUI {
public:
    STDMETHODIMP GetExternal(IDispatch** external) override {
        *external = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        if (count > 0 && std::wstring_view(names[0]) == L"fnHello") {
            ids[0] = 300;
            return S_OK;
        }
        return CWebBrowserUI::GetIDsOfNames(riid, names, count, locale, ids);
    }
};

TEST(WebBrowser, AnswersAsIDispatchForEventsAndUnknownNames) {
    CWebBrowserUI browser;
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(browser.QueryInterface(IID_IDispatch, dispatch.putVoid()), S_OK);
    ComPtr<IDocHostUIHandler> host;
    EXPECT_EQ(browser.QueryInterface(IID_IDocHostUIHandler, host.putVoid()), S_OK);
    ComPtr<IOleInPlaceSite> site;
    EXPECT_EQ(browser.QueryInterface(IID_IOleInPlaceSite, site.putVoid()), S_OK);
    ComPtr<IUnknown> none;
    EXPECT_EQ(browser.QueryInterface(IID_IPersist, none.putVoid()), E_NOINTERFACE);
    EXPECT_EQ(none.get(), nullptr);

    wchar_t name[] = L"fnQQLogon";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    DISPPARAMS noArguments{};
    EXPECT_EQ(dispatch->Invoke(300, IID_NULL, 0, DISPATCH_METHOD, &noArguments, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(dispatch->Invoke(300, IID_IDispatch, 0, DISPATCH_METHOD, &noArguments, nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);

    // Navigation events go to the handler, arguments last first.
    RecordingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);
    BSTR url = ::SysAllocString(L"http://127.0.0.1/done");
    VARIANT urlValue;
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = url;
    VARIANTARG arguments[2];
    arguments[0].vt = VT_BYREF | VT_VARIANT;
    arguments[0].pvarVal = &urlValue;
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = nullptr;
    DISPPARAMS complete{arguments, nullptr, 2, 0};
    EXPECT_EQ(
        dispatch->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &complete, nullptr, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(handler.completed, L"http://127.0.0.1/done");
    arguments[0].vt = VT_I4;
    arguments[0].lVal = 100;
    arguments[1].vt = VT_I4;
    arguments[1].lVal = 40;
    DISPPARAMS progress{arguments, nullptr, 2, 0};
    EXPECT_EQ(
        dispatch->Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, &progress, nullptr, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(handler.progress, 40100);
    DISPPARAMS tooFew{arguments, nullptr, 1, 0};
    EXPECT_EQ(
        dispatch->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &tooFew, nullptr, nullptr, nullptr),
        DISP_E_BADPARAMCOUNT);
    ::SysFreeString(url);
}

TEST(WebBrowser, HostAnswersWithAndWithoutAHandler) {
    CWebBrowserUI browser;
    IDocHostUIHandler* host = &browser;
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    // Without a handler the browser keeps its defaults: its own context menu, flags untouched.
    EXPECT_EQ(host->ShowContextMenu(0, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(host->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0u);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(host->GetExternal(&external), E_NOTIMPL);
    EXPECT_EQ(external, nullptr);

    // The base handler: no context menu, accelerators left to the browser.
    CWebBrowserEventHandler base;
    browser.SetWebBrowserEventHandler(&base);
    EXPECT_EQ(host->ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(host->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(host->TranslateAccelerator(nullptr, nullptr, 0), S_FALSE);
    EXPECT_EQ(host->HideUI(), S_OK);
    EXPECT_EQ(host->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0u);
    // Answers that promise a result without giving one never hand the browser a stale pointer.
    wchar_t url[] = L"http://127.0.0.1/";
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(host->TranslateUrl(0, url, &translated), S_FALSE);
    EXPECT_EQ(translated, nullptr);
    LPOLESTR key = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(host->GetOptionKeyPath(&key, 0), S_FALSE);
    EXPECT_EQ(key, nullptr);
    IDataObject* replacement = reinterpret_cast<IDataObject*>(1);
    EXPECT_EQ(host->FilterDataObject(nullptr, &replacement), S_FALSE);
    EXPECT_EQ(replacement, nullptr);
    IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
    EXPECT_EQ(host->GetDropTarget(nullptr, &target), E_NOTIMPL);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(base.Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), S_OK);

    RecordingHandler borderless;
    browser.SetWebBrowserEventHandler(&borderless);
    EXPECT_EQ(host->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER));
}

TEST(WebBrowser, AHandlersExceptionComesBackToTheBrowserAsAFailure) {
    struct Thrown {
        const char* what;
        std::function<void()> fail;
        HRESULT expected;
    };
    const Thrown thrown[] = {
        {"out of memory", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY},
        {"a standard exception", [] { throw std::logic_error("broken"); }, E_UNEXPECTED},
        {"something that is no exception class", [] { throw 3; }, E_UNEXPECTED},
    };
    // Each way the browser reaches the handler, as the browser calls it, with the answer it
    // gets when the handler does not throw.
    struct Call {
        const char* what;
        std::function<HRESULT(CWebBrowserUI&)> call;
        HRESULT answered;
    };
    const Call calls[] = {
        {"a navigation event",
         [](CWebBrowserUI& browser) {
             VARIANT url;
             ::VariantInit(&url);
             VARIANTARG arguments[2];
             arguments[0].vt = VT_BYREF | VT_VARIANT;
             arguments[0].pvarVal = &url;
             arguments[1].vt = VT_DISPATCH;
             arguments[1].pdispVal = nullptr;
             DISPPARAMS params{arguments, nullptr, 2, 0};
             IDispatch* events = &browser;
             return events->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                   nullptr);
         },
         S_OK},
        {"the host flags",
         [](CWebBrowserUI& browser) {
             DOCHOSTUIINFO info{};
             info.cbSize = sizeof info;
             return static_cast<IDocHostUIHandler&>(browser).GetHostInfo(&info);
         },
         S_OK},
        {"the context menu",
         [](CWebBrowserUI& browser) {
             return static_cast<IDocHostUIHandler&>(browser).ShowContextMenu(0, nullptr, nullptr, nullptr);
         },
         S_OK},
        {"a URL translation",
         [](CWebBrowserUI& browser) {
             wchar_t url[] = L"http://127.0.0.1/";
             LPWSTR translated = nullptr;
             return static_cast<IDocHostUIHandler&>(browser).TranslateUrl(0, url, &translated);
         },
         S_FALSE},
        {"window.external",
         [](CWebBrowserUI& browser) {
             ComPtr<IDispatch> external;
             const HRESULT hr = static_cast<IDocHostUIHandler&>(browser).GetExternal(external.put());
             EXPECT_FALSE(external);
             return hr;
         },
         E_NOTIMPL},
    };
    for (const Thrown& exception : thrown) {
        for (const Call& call : calls) {
            SCOPED_TRACE(std::string(exception.what) + " in " + call.what);
            ThrowingHandler handler(exception.fail);
            CWebBrowserUI browser;
            browser.SetWebBrowserEventHandler(&handler);
            EXPECT_EQ(call.call(browser), exception.expected);
            // The control answers the next call as before.
            CWebBrowserEventHandler working;
            browser.SetWebBrowserEventHandler(&working);
            EXPECT_EQ(call.call(browser), call.answered);
        }
    }
}

TEST(WebBrowser, DerivedControlsAddScriptMethodsOverTheBase) {
    ScriptedBrowser browser;
    IDocHostUIHandler* host = &browser;
    ComPtr<IDispatch> external;
    EXPECT_EQ(host->GetExternal(external.put()), S_OK);
    EXPECT_EQ(external.get(), static_cast<IDispatch*>(&browser));
    wchar_t hello[] = L"fnHello";
    wchar_t other[] = L"fnhello";
    LPOLESTR names[] = {hello};
    DISPID id = 0;
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 300);
    names[0] = other;
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

const char kPage[] = R"(<Window size="300,200"><Container>
    <WebBrowser name="web" float="true" pos="0,0,300,150" homepage="about:blank"/>
    <Button name="ok" float="true" pos="0,160,100,190"/></Container></Window>)";

// Clicks the window's button and checks that the click arrives.
void expectWorkingWindow(TestWindow& window) {
    clickClient(window.GetHWND(), POINT{50, 175});
    pumpUntil([&] { return !window.notes.heard.empty() && window.notes.heard.back() == L"click:ok"; });
    EXPECT_EQ(window.notes.take(), L"setfocus:ok click:ok");
}

TEST(WebBrowser, WhenTheBrowserCannotBeMadeTheControlStaysBlank) {
    // Without COM on the thread no browser can be created, as on a machine without an engine.
    // The window is not activated: the input method gives an active window's thread COM.
    TestWindow window;
    ASSERT_TRUE(window.Open(kPage, nullptr, false));
    auto* web = static_cast<CWebBrowserUI*>(window.manager.FindControl(L"web"));
    ASSERT_NE(web, nullptr);
    EXPECT_FALSE(web->HasBrowser());
    EXPECT_EQ(web->GetWebBrowser2(), nullptr);
    web->Navigate2(L"http://127.0.0.1:9/ads/LogonLogo.aspx");
    web->NavigateUrl(L"");
    EXPECT_EQ(web->GetRequestedUrl(), L"http://127.0.0.1:9/ads/LogonLogo.aspx");
    web->SetVisible(false);
    web->SetVisible(true);
    expectWorkingWindow(window);
    ::DestroyWindow(window.GetHWND());
}

TEST(WebBrowser, TheWindowKeepsWorkingWithTheSystemBrowser) {
    ::OleInitialize(nullptr);
    {
        TestWindow window;
        ASSERT_TRUE(window.Open(kPage));
        auto* web = static_cast<CWebBrowserUI*>(window.manager.FindControl(L"web"));
        // Whether an engine is installed is the machine's business (Wine offline has none that
        // renders); either way navigation is asked for and the window keeps working.
        ::testing::Test::RecordProperty("browser_created", web->HasBrowser() ? "yes" : "no");
        CWebBrowserEventHandler handler;
        web->SetWebBrowserEventHandler(&handler);
        web->Navigate2(L"about:blank");
        web->Navigate2(L"http://127.0.0.1:9/qlogin.aspx");
        EXPECT_EQ(web->GetRequestedUrl(), L"http://127.0.0.1:9/qlogin.aspx");
        web->SetVisible(false);
        web->SetVisible(true);
        expectWorkingWindow(window);
        ::DestroyWindow(window.GetHWND());
        EXPECT_FALSE(web->HasBrowser());
    }
    ::OleUninitialize();
}

// OLE for the calling thread while the object lives.
struct OleScope {
    OleScope() { ::OleInitialize(nullptr); }
    ~OleScope() { ::OleUninitialize(); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
};

TEST(WebBrowser, TheBrowserIsMadeAfterTheWindowsFirstFrame) {
    OleScope ole;
    TestWindow window;
    ASSERT_TRUE(window.Build(kPage));
    auto* web = static_cast<CWebBrowserUI*>(window.manager.FindControl(L"web"));
    ASSERT_NE(web, nullptr);
    web->Navigate2(L"http://127.0.0.1:9/ads/LogonLogo.aspx");
    ::ShowWindow(window.GetHWND(), SW_SHOWNORMAL);
    EXPECT_FALSE(web->HasBrowser()) << "made before the window was painted";
    EXPECT_FALSE(window.manager.HasPainted());
    ::UpdateWindow(window.GetHWND());
    EXPECT_TRUE(pumpUntil([&] { return window.manager.HasPainted(); }));
    // Where no browser can be made (no engine) the control stays blank; where one can, it is
    // there now and was sent to the page asked for before.
    ::testing::Test::RecordProperty("browser_created", web->HasBrowser() ? "yes" : "no");
    if (web->HasBrowser()) {
        EXPECT_EQ(web->GetRequestedUrl(), L"http://127.0.0.1:9/ads/LogonLogo.aspx");
    }
    // A browser control added once the window has painted gets its browser at once.
    CWebBrowserUI* late = new CWebBrowserUI();
    auto* container = static_cast<CContainerUI*>(window.manager.GetRoot());
    const bool hadBrowser = web->HasBrowser();
    ASSERT_TRUE(container->AddChild(late));
    EXPECT_EQ(late->HasBrowser(), hadBrowser);
    ::DestroyWindow(window.GetHWND());
    EXPECT_FALSE(web->HasBrowser());
}

// The native window of a control's browser; null without one.
HWND browserWindow(CWebBrowserUI& web) {
    HWND window = nullptr;
    if (const ComPtr<IOleWindow> ole = comAs<IOleWindow>(web.GetWebBrowser2())) {
        ole->GetWindow(&window);
    }
    return window;
}

// Tells the control, as its browser would, that a page of `from` has loaded.
void documentComplete(CWebBrowserUI& web, IDispatch* from, const wchar_t* url) {
    BSTR text = ::SysAllocString(url);
    VARIANT urlValue;
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = text;
    VARIANTARG arguments[2];
    arguments[0].vt = VT_BYREF | VT_VARIANT;
    arguments[0].pvarVal = &urlValue;
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = from;
    DISPPARAMS params{arguments, nullptr, 2, 0};
    IDispatch* events = &web;
    EXPECT_EQ(events->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              S_OK);
    ::SysFreeString(text);
}

// Tells the control, as its browser would, that a navigation of `from` failed.
void navigateError(CWebBrowserUI& web, IDispatch* from) {
    VARIANT url, frame, status;
    ::VariantInit(&url);
    ::VariantInit(&frame);
    ::VariantInit(&status);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG arguments[5];
    arguments[0].vt = VT_BYREF | VT_BOOL;
    arguments[0].pboolVal = &cancel;
    arguments[1].vt = VT_BYREF | VT_VARIANT;
    arguments[1].pvarVal = &status;
    arguments[2].vt = VT_BYREF | VT_VARIANT;
    arguments[2].pvarVal = &frame;
    arguments[3].vt = VT_BYREF | VT_VARIANT;
    arguments[3].pvarVal = &url;
    arguments[4].vt = VT_DISPATCH;
    arguments[4].pdispVal = from;
    DISPPARAMS params{arguments, nullptr, 5, 0};
    IDispatch* events = &web;
    events->Invoke(DISPID_NAVIGATEERROR, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

const char kTwoBrowsers[] = R"(<Window size="300,200"><Container>
    <WebBrowser name="waiting" float="true" pos="0,0,150,150" waitforpage="true"/>
    <WebBrowser name="plain" float="true" pos="150,0,300,150"/></Container></Window>)";

TEST(WebBrowser, AWaitingBrowserShowsOnlyALoadedPageOfItsOwn) {
    OleScope ole;
    TestWindow window;
    ASSERT_TRUE(window.Open(kTwoBrowsers));
    auto* waiting = static_cast<CWebBrowserUI*>(window.manager.FindControl(L"waiting"));
    auto* plain = static_cast<CWebBrowserUI*>(window.manager.FindControl(L"plain"));
    if (!waiting->HasBrowser() || !plain->HasBrowser()) {
        ::DestroyWindow(window.GetHWND());
        GTEST_SKIP() << "no browser can be made on this machine";
    }
    const HWND page = browserWindow(*waiting);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(::IsWindowVisible(page));
    EXPECT_TRUE(::IsWindowVisible(browserWindow(*plain)));

    IDispatch* own = waiting->GetWebBrowser2();
    documentComplete(*waiting, own, L"about:blank");
    EXPECT_FALSE(::IsWindowVisible(page)) << "a blank page keeps the skin's picture";
    documentComplete(*waiting, plain->GetWebBrowser2(), L"http://127.0.0.1:9/frame.aspx");
    EXPECT_FALSE(::IsWindowVisible(page)) << "a frame's page is not the browser's own";
    documentComplete(*waiting, own, L"http://127.0.0.1:9/ads/LogonLogo.aspx");
    EXPECT_TRUE(::IsWindowVisible(page));

    // Hidden with its page (a tab layout hides it), shown again with it.
    waiting->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(page));
    waiting->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(page));

    navigateError(*waiting, own);
    EXPECT_FALSE(::IsWindowVisible(page)) << "a failed navigation shows the skin's picture, not an error page";
    ::DestroyWindow(window.GetHWND());
}

}  // namespace
