#pragma once
// Which page of the logon area is up: the account form, a web logon page or the registration
// form, and whether an embedded page takes the keyboard.
#include "window/skin_controls.h"

enum class LogonPage { AccountForm = 0, WebLogon = 1, Registration = 2 };

// The tabs of the skin's LogonRegister layout.
enum class LogonTab { AccountForm = 0, Registration = 1, QQLogon = 2, WeChatLogon = 3 };

class LogonTabs {
public:
    explicit LogonTabs(const SkinControls& skin) : skin_(skin) {}

    // Shows a tab and takes its page; webPageActive: an embedded page takes Enter itself.
    void show(LogonTab tab, LogonPage page, bool webPageActive);
    // Takes a page without changing the tab shown.
    void enter(LogonPage page) { page_ = page; }

    LogonPage page() const { return page_; }
    bool webPageActive() const { return webPageActive_; }

private:
    const SkinControls& skin_;
    LogonPage page_ = LogonPage::AccountForm;
    bool webPageActive_ = false;
};
