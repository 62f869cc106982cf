#pragma once
#include <string>

// How an embedded logon page starts the lobby client: with the address of the page that
// called and the two strings its script passed, in call order. On success the process ends;
// a call the handler refuses (a page from elsewhere, say) has no effect.
class IWebLogonHandler {
public:
    // The QQ logon page: logon type 1.
    virtual void OnQQLogon(const std::wstring& pageUrl, const std::wstring& first, const std::wstring& second) = 0;
    // An account logon from a page: logon type 0.
    virtual void OnAccountLogon(const std::wstring& pageUrl, const std::wstring& first, const std::wstring& second) = 0;

protected:
    ~IWebLogonHandler() = default;
};
