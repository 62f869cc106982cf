#include "window/logon_tabs.h"

#include "uilib/container.h"

void LogonTabs::show(LogonTab tab, LogonPage page, bool webPageActive) {
    if (auto* tabs = skin_.find<CTabLayoutUI>(L"LogonRegister")) {
        tabs->SelectItem(static_cast<int>(tab));
    }
    page_ = page;
    webPageActive_ = webPageActive;
}
