#include "window/logon_form.h"

#include "window/launch_arguments.h"

namespace {

constexpr wchar_t kInputErrorTitle[] = L"错误提示";
// What the lobby client's fields hold at most.
constexpr std::size_t kAccountLength = 31;
constexpr std::size_t kPasswordLength = 32;

}  // namespace

bool LogonForm::check() {
    const std::wstring account = skin_.text(L"LogonAccount");
    if (account.size() < 2) {
        (void)messages_.show(kInputErrorTitle, L"账号输入错误", MessageButtons::Ok);
        return false;
    }
    const std::wstring password = skin_.text(L"PassWord");
    if (password.size() < 3) {
        (void)messages_.show(kInputErrorTitle, L"密码输入错误", MessageButtons::Ok);
        return false;
    }
    if (!fitsArgumentField(account) || !fitsArgumentField(password)) {
        (void)messages_.show(kInputErrorTitle, kSeparatorInAccountText, MessageButtons::Ok);
        return false;
    }
    account_ = account.substr(0, kAccountLength);
    password_ = password.substr(0, kPasswordLength);
    return true;
}

std::optional<std::wstring> LogonForm::arguments() const {
    return accountLogonArguments(account_, password_, skin_.isSelected(L"SavePassword"));
}
