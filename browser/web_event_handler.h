#pragma once
// The handler the launcher installs on its advertisement and logon pages: the library's host
// answers (no context menu among them), and pages without the browser's 3D border.
#include "uilib/web_browser_event_handler.h"

class CWebEventHandler : public CWebBrowserEventHandler {
public:
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override {
        if (info != nullptr) {
            info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
        }
        return S_OK;
    }
};
