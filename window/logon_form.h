#pragma once
// The account form of the logon page: its check before a logon, and the lobby client's
// arguments for what passed it.
#include <optional>
#include <string>

#include "common/message_presenter.h"
#include "window/skin_controls.h"

// Told when an account, password or nickname holds the lobby client's field separator.
inline constexpr wchar_t kSeparatorInAccountText[] = L"账号和密码不能包含字符“|”";

class LogonForm {
public:
    LogonForm(const SkinControls& skin, MessagePresenter& messages) : skin_(skin), messages_(messages) {}

    // Checks the account (at least 2 characters) and password (at least 3) fields, telling the
    // user what is wrong; what passed is kept (cut to 31 and 32 characters).
    [[nodiscard]] bool check();
    // The lobby client's arguments for what the last check kept, with the form's choice of
    // remembering the password.
    std::optional<std::wstring> arguments() const;

    const std::wstring& account() const { return account_; }
    const std::wstring& password() const { return password_; }

private:
    const SkinControls& skin_;
    MessagePresenter& messages_;
    std::wstring account_;
    std::wstring password_;
};
