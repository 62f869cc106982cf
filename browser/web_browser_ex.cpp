#include "browser/web_browser_ex.h"

#include <cwchar>

#include "common/com_barrier.h"

namespace {

// The two strings of a script call, first and second as the script passed them (the dispatch
// parameters list arguments last first). Anything else is refused before it is read.
HRESULT readTwoStrings(const DISPPARAMS* params, std::wstring& first, std::wstring& second, UINT* argumentError) {
    if (params == nullptr || params->cArgs != 2 || params->cNamedArgs != 0 || params->rgvarg == nullptr) {
        return DISP_E_BADPARAMCOUNT;
    }
    for (UINT i = 0; i < 2; ++i) {
        if (params->rgvarg[i].vt != VT_BSTR) {
            if (argumentError != nullptr) {
                *argumentError = i;
            }
            return DISP_E_TYPEMISMATCH;
        }
    }
    auto text = [](BSTR value) {
        return value != nullptr ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
    };
    first = text(params->rgvarg[1].bstrVal);
    second = text(params->rgvarg[0].bstrVal);
    return S_OK;
}

// A script's logon call: its two strings to the target. On success the lobby client has
// started and the process ends in here.
HRESULT callLogon(IWebLogonHandler& target, const std::wstring& pageUrl, DISPID id, const DISPPARAMS* params,
                  UINT* argumentError) {
    std::wstring first;
    std::wstring second;
    const HRESULT read = readTwoStrings(params, first, second, argumentError);
    if (FAILED(read)) {
        return read;
    }
    if (id == WebBrowserEx::kQQLogon) {
        target.OnQQLogon(pageUrl, first, second);
    } else {
        target.OnAccountLogon(pageUrl, first, second);
    }
    return S_OK;
}

}  // namespace

STDMETHODIMP WebBrowserEx::GetExternal(IDispatch** external) {
    if (external == nullptr) {
        return E_POINTER;
    }
    *external = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP WebBrowserEx::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
    if (names != nullptr && count > 0 && names[0] != nullptr && ids != nullptr) {
        if (std::wcscmp(names[0], L"fnQQLogon") == 0) {
            ids[0] = kQQLogon;
            return S_OK;
        }
        if (std::wcscmp(names[0], L"fnAccountLogon") == 0) {
            ids[0] = kAccountLogon;
            return S_OK;
        }
    }
    return CWebBrowserUI::GetIDsOfNames(riid, names, count, locale, ids);
}

STDMETHODIMP WebBrowserEx::Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argumentError) {
    if (riid != IID_NULL) {
        return E_INVALIDARG;
    }
    if ((id == kQQLogon || id == kAccountLogon) && logonTarget_ != nullptr) {
        const HRESULT called =
            comBarrier([&] { return callLogon(*logonTarget_, PageUrl(), id, params, argumentError); });
        if (FAILED(called)) {
            return called;
        }
    }
    return CWebBrowserUI::Invoke(id, riid, locale, flags, params, result, exception, argumentError);
}
