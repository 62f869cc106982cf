#pragma once
// A control that hosts the system's web browser (an ActiveX control) in its rectangle. The
// browser is created once the paint manager's window has painted its first frame; where it cannot be created (no
// engine installed) the control stays blank and everything else keeps working. The control is
// the browser's site: IOleClientSite, IOleInPlaceSite and IOleInPlaceFrame for hosting,
// IDocHostUIHandler for the host's answers (given to the event handler when one is set),
// IDispatch for the navigation events and as the page's window.external when a derived
// control hands it out. With "waitforpage" the browser stays hidden, showing the control's
// background, until a page other than about:blank has loaded, and hides again when a
// navigation fails: the skin's own picture stands in for a blank or error page. Its lifetime belongs to the control
// tree: the reference count only tracks the browser's references, which are released when the window goes.
// An exception thrown by the event handler or a derived control's method comes back to the
// browser as a failed result (common/com_barrier.h); it never unwinds into the browser.
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include <string>

#include "common/com_ptr.h"
#include "uilib/control.h"
#include "uilib/web_browser_event_handler.h"

class CWebBrowserUI : public CControlUI,
                      public IOleClientSite,
                      public IOleInPlaceSite,
                      public IOleInPlaceFrame,
                      public IDocHostUIHandler,
                      public IDispatch {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;
    std::wstring_view GetClass() const override { return L"WebBrowserUI"; }

    // Navigates to url; without a browser only the request is kept.
    void Navigate2(std::wstring_view url);
    // Sets the control's start page and navigates to it when it is not empty.
    void NavigateUrl(std::wstring_view url);
    // The URL most recently asked for through Navigate2 or NavigateUrl.
    const std::wstring& GetRequestedUrl() const { return requestedUrl_; }
    // Not owned; null removes the handler.
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* handler) { handler_ = handler; }
    CWebBrowserEventHandler* GetWebBrowserEventHandler() const { return handler_; }
    // The browser, when one could be created; the control keeps the reference (take one of
    // your own to hold it past the control's window).
    IWebBrowser2* GetWebBrowser2() const { return browser_.get(); }
    bool HasBrowser() const { return static_cast<bool>(browser_); }
    // The address of the page the browser shows now; empty without a browser.
    virtual std::wstring PageUrl() const;

    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void SetPos(const RECT& pos) override;
    void SetVisible(bool visible) override;
    void SetInternVisible(bool visible) override;
    void OnWindowAttached() override;
    void OnWindowPainted() override;
    void OnWindowDetached() override;
    // Offers a keyboard message to the browser; true when it took it.
    bool TranslateBrowserAccelerator(const MSG& message);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the browser's navigation events; derived controls add script methods.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
    // What the page sees as window.external: the handler's answer, or none.
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow (shared by the site and the frame)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name) override;
    STDMETHODIMP InsertMenus(HMENU menu, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU menu, HOLEMENU shared, HWND active) override;
    STDMETHODIMP RemoveMenus(HMENU menu) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, WORD id) override;

private:
    void CreateBrowser();
    void ReleaseBrowser();
    void SyncBrowser();
    // Invoke's work for the browser's navigation events, inside the exception barrier.
    HRESULT OnBrowserEvent(DISPID id, DISPPARAMS* params);
    // A page of the browser itself (not of a frame) has loaded, or failed to.
    void NotePage(IDispatch* browser, bool loaded);
    HWND HostWindow() const;

    LONG references_ = 0;
    CWebBrowserEventHandler* handler_ = nullptr;
    ComPtr<IOleObject> oleObject_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IOleInPlaceActiveObject> activeObject_;
    DWORD eventCookie_ = 0;
    bool creationFailed_ = false;
    bool waitForPage_ = false;
    bool pageLoaded_ = false;
    std::wstring homeUrl_;
    std::wstring requestedUrl_;
};

// Offers a keyboard message to the browsers of the calling thread; true when one took it.
bool translateBrowserAccelerator(const MSG& message);
