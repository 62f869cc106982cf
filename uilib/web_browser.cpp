#include "uilib/web_browser.h"
#include "common/ascii_case.h"

#include "common/com_barrier.h"
#include "uilib/paint_manager.h"

#include <exdispid.h>
#include <ocidl.h>

#include <algorithm>
#include <vector>

namespace {

// The browsers of this thread that are in place, for keyboard translation. Every window with
// its browsers lives on one thread, so the list needs no lock.
thread_local std::vector<CWebBrowserUI*> activeBrowsers;

// The browser's connection point for its navigation events; empty when it has none.
ComPtr<IConnectionPoint> browserEvents(IOleObject* browser) {
    ComPtr<IConnectionPoint> point;
    if (const ComPtr<IConnectionPointContainer> container = comAs<IConnectionPointContainer>(browser)) {
        if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put()))) {
            point.release();
        }
    }
    return point;
}

// The handler's answer, or `without` when there is no handler.
template <typename F>
HRESULT askHandler(CWebBrowserEventHandler* handler, HRESULT without, F&& ask) {
    return comBarrier([&] { return handler != nullptr ? ask(*handler) : without; });
}

// A BSTR owned for the length of one call.
class ScopedBstr {
public:
    explicit ScopedBstr(std::wstring_view text)
        : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~ScopedBstr() { ::SysFreeString(value_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR get() const { return value_; }

private:
    BSTR value_;
};

}  // namespace

bool translateBrowserAccelerator(const MSG& message) {
    const std::vector<CWebBrowserUI*> browsers = activeBrowsers;
    for (CWebBrowserUI* browser : browsers) {
        if (browser->TranslateBrowserAccelerator(message)) {
            return true;
        }
    }
    return false;
}

CWebBrowserUI::CWebBrowserUI() = default;

CWebBrowserUI::~CWebBrowserUI() {
    ReleaseBrowser();
}

void CWebBrowserUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"homepage" || name == L"url") {
        homeUrl_ = value;
    } else if (name == L"waitforpage") {
        waitForPage_ = parseBool(value).value_or(false);
        SyncBrowser();
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CWebBrowserUI::Navigate2(std::wstring_view url) {
    requestedUrl_ = url;
    if (!browser_ || url.empty()) {
        return;
    }
    ScopedBstr text(url);
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = text.get();
    VARIANT empty;
    ::VariantInit(&empty);
    browser_->Navigate2(&target, &empty, &empty, &empty, &empty);
}

void CWebBrowserUI::NavigateUrl(std::wstring_view url) {
    homeUrl_ = url;
    if (!url.empty()) {
        Navigate2(url);
    }
}

HWND CWebBrowserUI::HostWindow() const {
    return manager_ != nullptr ? manager_->GetPaintWindow() : nullptr;
}

void CWebBrowserUI::OnWindowAttached() {
    // Making a browser takes longer than the whole first frame: it waits for that frame.
    if (manager_ != nullptr && manager_->HasPainted()) {
        OnWindowPainted();
    }
}

void CWebBrowserUI::OnWindowPainted() {
    if (!oleObject_ && !creationFailed_ && HostWindow() != nullptr) {
        CreateBrowser();
    }
}

void CWebBrowserUI::OnWindowDetached() {
    ReleaseBrowser();
}

void CWebBrowserUI::CreateBrowser() {
    HRESULT hr =
        ::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, oleObject_.putVoid());
    if (SUCCEEDED(hr)) {
        hr = oleObject_->SetClientSite(static_cast<IOleClientSite*>(this));
    }
    if (SUCCEEDED(hr)) {
        RECT position = pos_;
        hr = oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, HostWindow(),
                                &position);
    }
    if (SUCCEEDED(hr)) {
        hr = oleObject_->QueryInterface(IID_IWebBrowser2, browser_.putVoid());
    }
    if (SUCCEEDED(hr)) {
        if (const ComPtr<IConnectionPoint> point = browserEvents(oleObject_.get())) {
            point->Advise(static_cast<IDispatch*>(this), &eventCookie_);
        }
        activeObject_ = oleObject_.as<IOleInPlaceActiveObject>();
        activeBrowsers.push_back(this);
    }
    if (FAILED(hr)) {
        // No engine here: the control stays blank.
        ReleaseBrowser();
        creationFailed_ = true;
        return;
    }
    SyncBrowser();
    if (!requestedUrl_.empty()) {
        Navigate2(std::wstring(requestedUrl_));
    } else if (!homeUrl_.empty()) {
        Navigate2(std::wstring(homeUrl_));
    }
}

void CWebBrowserUI::ReleaseBrowser() {
    pageLoaded_ = false;
    activeBrowsers.erase(std::remove(activeBrowsers.begin(), activeBrowsers.end(), this), activeBrowsers.end());
    if (oleObject_ && eventCookie_ != 0) {
        if (const ComPtr<IConnectionPoint> point = browserEvents(oleObject_.get())) {
            point->Unadvise(eventCookie_);
        }
        eventCookie_ = 0;
    }
    activeObject_.reset();
    browser_.reset();
    if (oleObject_) {
        if (const ComPtr<IOleInPlaceObject> inPlace = oleObject_.as<IOleInPlaceObject>()) {
            inPlace->InPlaceDeactivate();
        }
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
        oleObject_.reset();
    }
}

void CWebBrowserUI::SyncBrowser() {
    const ComPtr<IOleInPlaceObject> inPlace = oleObject_.as<IOleInPlaceObject>();
    if (!inPlace) {
        return;
    }
    inPlace->SetObjectRects(&pos_, &pos_);
    HWND window = nullptr;
    if (SUCCEEDED(inPlace->GetWindow(&window)) && window != nullptr) {
        const bool show = IsVisible() && (!waitForPage_ || pageLoaded_);
        ::ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
    }
}

void CWebBrowserUI::SetPos(const RECT& pos) {
    CControlUI::SetPos(pos);
    SyncBrowser();
}

void CWebBrowserUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    SyncBrowser();
}

void CWebBrowserUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    SyncBrowser();
}

std::wstring CWebBrowserUI::PageUrl() const {
    BSTR location = nullptr;
    if (!browser_ || FAILED(browser_->get_LocationURL(&location)) || location == nullptr) {
        return {};
    }
    std::wstring url(location, ::SysStringLen(location));
    ::SysFreeString(location);
    return url;
}

void CWebBrowserUI::NotePage(IDispatch* browser, bool loaded) {
    if (!browser_ || browser == nullptr) {
        return;
    }
    // The same object answers for the browser's own page; frames are other objects.
    const ComPtr<IUnknown> self = browser_.as<IUnknown>();
    const ComPtr<IUnknown> other = comAs<IUnknown>(browser);
    const bool ownPage = self && self.get() == other.get();
    if (ownPage && pageLoaded_ != loaded) {
        pageLoaded_ = loaded;
        SyncBrowser();
        Invalidate();
    }
}

bool CWebBrowserUI::TranslateBrowserAccelerator(const MSG& message) {
    if (!activeObject_ || !IsVisible()) {
        return false;
    }
    HWND window = nullptr;
    if (FAILED(activeObject_->GetWindow(&window)) || window == nullptr ||
        (message.hwnd != window && !::IsChild(window, message.hwnd))) {
        return false;
    }
    MSG copy = message;
    return activeObject_->TranslateAccelerator(&copy) == S_OK;
}

// The COM methods that reach the event handler or allocate run their work in comBarrier; the
// others only answer with constants and fill their out-parameters, which cannot throw.

// IUnknown

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
        *object = static_cast<IDispatch*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (riid == IID_IDocHostUIHandler) {
        *object = static_cast<IDocHostUIHandler*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release() {
    return static_cast<ULONG>(::InterlockedDecrement(&references_));
}

// IDispatch

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    if (ids == nullptr) {
        return E_POINTER;
    }
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return comBarrier([&] { return OnBrowserEvent(id, params); });
}

HRESULT CWebBrowserUI::OnBrowserEvent(DISPID id, DISPPARAMS* params) {
    // The event arguments come last first; each count is checked before it is read.
    VARIANTARG* a = params != nullptr ? params->rgvarg : nullptr;
    const UINT n = params != nullptr ? params->cArgs : 0;
    if (id == DISPID_DOCUMENTCOMPLETE) {
        if (n < 2) {
            return DISP_E_BADPARAMCOUNT;
        }
        const VARIANT* url = a[0].vt == (VT_BYREF | VT_VARIANT) ? a[0].pvarVal : &a[0];
        const bool blank = url == nullptr || url->vt != VT_BSTR || url->bstrVal == nullptr ||
                           url->bstrVal[0] == L'\0' || equalsIgnoringAsciiCase(url->bstrVal, L"about:blank");
        NotePage(a[1].vt == VT_DISPATCH ? a[1].pdispVal : nullptr, !blank);
        return S_OK;
    }
    if (id == DISPID_NAVIGATEERROR && n >= 5) {
        NotePage(a[4].vt == VT_DISPATCH ? a[4].pdispVal : nullptr, false);
    }
    if (handler_ == nullptr) {
        return id == DISPID_BEFORENAVIGATE2 || id == DISPID_NAVIGATEERROR || id == DISPID_NAVIGATECOMPLETE2 ||
                       id == DISPID_PROGRESSCHANGE || id == DISPID_NEWWINDOW3 || id == DISPID_COMMANDSTATECHANGE
                   ? S_OK
                   : DISP_E_MEMBERNOTFOUND;
    }
    switch (id) {
        case DISPID_BEFORENAVIGATE2:
            if (n < 7) {
                return DISP_E_BADPARAMCOUNT;
            }
            handler_->BeforeNavigate2(a[6].pdispVal, a[5].pvarVal, a[4].pvarVal, a[3].pvarVal, a[2].pvarVal,
                                      a[1].pvarVal, a[0].pboolVal);
            return S_OK;
        case DISPID_NAVIGATEERROR:
            if (n < 5) {
                return DISP_E_BADPARAMCOUNT;
            }
            handler_->NavigateError(a[4].pdispVal, a[3].pvarVal, a[2].pvarVal, a[1].pvarVal, a[0].pboolVal);
            return S_OK;
        case DISPID_NAVIGATECOMPLETE2:
            if (n < 2) {
                return DISP_E_BADPARAMCOUNT;
            }
            handler_->NavigateComplete2(a[1].pdispVal, a[0].pvarVal);
            return S_OK;
        case DISPID_PROGRESSCHANGE:
            if (n < 2) {
                return DISP_E_BADPARAMCOUNT;
            }
            handler_->ProgressChange(a[1].lVal, a[0].lVal);
            return S_OK;
        case DISPID_NEWWINDOW3:
            if (n < 5) {
                return DISP_E_BADPARAMCOUNT;
            }
            handler_->NewWindow3(a[4].ppdispVal, a[3].pboolVal, a[2].ulVal, a[1].bstrVal, a[0].bstrVal);
            return S_OK;
        case DISPID_COMMANDSTATECHANGE:
            if (n < 2) {
                return DISP_E_BADPARAMCOUNT;
            }
            handler_->CommandStateChange(a[1].lVal, a[0].boolVal);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

// IDocHostUIHandler: without a handler the browser keeps its own behaviour.

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) {
    return askHandler(handler_, S_FALSE,
                      [&](auto& handler) { return handler.ShowContextMenu(id, point, target, object); });
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info) {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.GetHostInfo(info); });
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                                   IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) {
    return askHandler(handler_, S_FALSE,
                      [&](auto& handler) { return handler.ShowUI(id, active, target, frame, document); });
}

STDMETHODIMP CWebBrowserUI::HideUI() {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.HideUI(); });
}

STDMETHODIMP CWebBrowserUI::UpdateUI() {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.UpdateUI(); });
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL enable) {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.EnableModeless(enable); });
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL activate) {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.OnDocWindowActivate(activate); });
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL activate) {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.OnFrameWindowActivate(activate); });
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) {
    return askHandler(handler_, S_OK, [&](auto& handler) { return handler.ResizeBorder(border, window, frameWindow); });
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) {
    return askHandler(handler_, S_FALSE,
                      [&](auto& handler) { return handler.TranslateAccelerator(message, group, command); });
}

// The out-parameters below are cleared before a handler sees them, so a handler that answers
// S_OK without filling them never hands the browser an undefined pointer; an answer without a
// result counts as "nothing to replace" (S_FALSE) where the interface reads the result on S_OK.

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
    if (key == nullptr) {
        return E_POINTER;
    }
    *key = nullptr;
    const HRESULT hr =
        askHandler(handler_, E_NOTIMPL, [&](auto& handler) { return handler.GetOptionKeyPath(key, reserved); });
    return hr == S_OK && *key == nullptr ? S_FALSE : hr;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* target, IDropTarget** replacement) {
    if (replacement == nullptr) {
        return E_POINTER;
    }
    *replacement = nullptr;
    const HRESULT hr =
        askHandler(handler_, E_NOTIMPL, [&](auto& handler) { return handler.GetDropTarget(target, replacement); });
    return hr == S_OK && *replacement == nullptr ? E_NOTIMPL : hr;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** external) {
    if (external == nullptr) {
        return E_POINTER;
    }
    *external = nullptr;
    return askHandler(handler_, E_NOTIMPL, [&](auto& handler) { return handler.GetExternal(external); });
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) {
    if (translated == nullptr) {
        return E_POINTER;
    }
    *translated = nullptr;
    const HRESULT hr =
        askHandler(handler_, S_FALSE, [&](auto& handler) { return handler.TranslateUrl(translate, url, translated); });
    return hr == S_OK && *translated == nullptr ? S_FALSE : hr;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* object, IDataObject** replacement) {
    if (replacement == nullptr) {
        return E_POINTER;
    }
    *replacement = nullptr;
    const HRESULT hr =
        askHandler(handler_, S_FALSE, [&](auto& handler) { return handler.FilterDataObject(object, replacement); });
    return hr == S_OK && *replacement == nullptr ? S_FALSE : hr;
}

// IOleClientSite

STDMETHODIMP CWebBrowserUI::SaveObject() {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetContainer(IOleContainer** container) {
    if (container != nullptr) {
        *container = nullptr;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CWebBrowserUI::ShowObject() {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::OnShowWindow(BOOL) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

// IOleWindow

STDMETHODIMP CWebBrowserUI::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = HostWindow();
    return *window != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CWebBrowserUI::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

// IOleInPlaceSite

STDMETHODIMP CWebBrowserUI::CanInPlaceActivate() {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::OnInPlaceActivate() {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::OnUIActivate() {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr) {
        return E_POINTER;
    }
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = pos_;
    *clip = pos_;
    info->fMDIApp = FALSE;
    info->hwndFrame = HostWindow();
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::Scroll(SIZE) {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnUIDeactivate(BOOL) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::OnInPlaceDeactivate() {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::DiscardUndoState() {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::DeactivateAndUndo() {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnPosRectChange(LPCRECT) {
    return S_OK;
}

// IOleInPlaceUIWindow and IOleInPlaceFrame: the window has no menus, toolbars or status bar.

STDMETHODIMP CWebBrowserUI::GetBorder(LPRECT) {
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CWebBrowserUI::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CWebBrowserUI::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::RemoveMenus(HMENU) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::SetStatusText(LPCOLESTR) {
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}
