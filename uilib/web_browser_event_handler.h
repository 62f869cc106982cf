#pragma once
// What a window may decide about an embedded page: navigation events and the browser's
// questions to its host (context menu, host flags, keyboard, drag and drop, downloads).
// This base class answers as a host that has handled the question itself: no context menu,
// no own user interface, accelerators left to the browser.
#include <windows.h>
#include <ole2.h>
#include <docobj.h>
#include <mshtmhst.h>
#include <urlmon.h>

class CWebBrowserEventHandler {
public:
    virtual ~CWebBrowserEventHandler() = default;

    // Navigation events of the browser.
    virtual void BeforeNavigate2(IDispatch* /*browser*/, VARIANT* /*url*/, VARIANT* /*flags*/, VARIANT* /*targetFrame*/,
                                 VARIANT* /*postData*/, VARIANT* /*headers*/, VARIANT_BOOL* /*cancel*/) {}
    virtual void NavigateError(IDispatch* /*browser*/, VARIANT* /*url*/, VARIANT* /*frame*/, VARIANT* /*status*/,
                               VARIANT_BOOL* /*cancel*/) {}
    virtual void NavigateComplete2(IDispatch* /*browser*/, VARIANT* /*url*/) {}
    virtual void ProgressChange(LONG /*progress*/, LONG /*progressMax*/) {}
    virtual void NewWindow3(IDispatch** /*browser*/, VARIANT_BOOL* /*cancel*/, DWORD /*flags*/, BSTR /*context*/,
                            BSTR /*url*/) {}
    virtual void CommandStateChange(LONG /*command*/, VARIANT_BOOL /*enable*/) {}

    // The browser's questions to its host.
    virtual HRESULT ShowContextMenu(DWORD /*id*/, POINT* /*point*/, IUnknown* /*target*/, IDispatch* /*object*/) {
        return S_OK;
    }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* /*info*/) { return S_OK; }
    virtual HRESULT ShowUI(DWORD /*id*/, IOleInPlaceActiveObject* /*active*/, IOleCommandTarget* /*target*/,
                           IOleInPlaceFrame* /*frame*/, IOleInPlaceUIWindow* /*document*/) {
        return S_FALSE;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL /*enable*/) { return S_OK; }
    virtual HRESULT OnDocWindowActivate(BOOL /*activate*/) { return S_OK; }
    virtual HRESULT OnFrameWindowActivate(BOOL /*activate*/) { return S_OK; }
    virtual HRESULT ResizeBorder(LPCRECT /*border*/, IOleInPlaceUIWindow* /*window*/, BOOL /*frameWindow*/) {
        return S_OK;
    }
    virtual HRESULT TranslateAccelerator(LPMSG /*message*/, const GUID* /*group*/, DWORD /*command*/) {
        return S_FALSE;
    }
    // key is null on entry; a handler that names a key sets it.
    virtual HRESULT GetOptionKeyPath(LPOLESTR* /*key*/, DWORD /*reserved*/) { return S_OK; }
    virtual HRESULT GetDropTarget(IDropTarget* /*target*/, IDropTarget** /*replacement*/) { return E_NOTIMPL; }
    virtual HRESULT GetExternal(IDispatch** /*external*/) { return E_NOTIMPL; }
    // translated is null on entry; a handler that changes the URL sets it.
    virtual HRESULT TranslateUrl(DWORD /*translate*/, OLECHAR* /*url*/, OLECHAR** /*translated*/) { return S_OK; }
    virtual HRESULT FilterDataObject(IDataObject* /*object*/, IDataObject** /*replacement*/) { return S_OK; }
    virtual HRESULT Download(IMoniker* /*moniker*/, IBindCtx* /*context*/, DWORD /*verb*/, LONG /*gripVerb*/,
                             BINDINFO* /*info*/, LPCOLESTR /*headers*/, LPCOLESTR /*redirect*/, UINT /*codePage*/) {
        return S_OK;
    }
};
