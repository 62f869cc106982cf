#pragma once
#include <string>

// How an embedded logon page starts the lobby client: with the two strings its script passed,
// in call order. On success the process ends; on failure the user has been told.
class IWebLogonHandler {
public:
    // The QQ logon page: logon type 1.
    virtual void OnQQLogon(const std::wstring& first, const std::wstring& second) = 0;
    // An account logon from a page: logon type 0.
    virtual void OnAccountLogon(const std::wstring& first, const std::wstring& second) = 0;

protected:
    ~IWebLogonHandler() = default;
};
