#pragma once
// The argument texts the lobby client is started with. A contract with Lobbex.exe: one
// leading space, fields separated by "|", numbers in signed decimal, strings inserted as they
// are. The format has no quoting, so a string holding "|" would shift the fields after it:
// such a string gives no argument text at all.
#include <optional>
#include <string>
#include <string_view>

// Logon types, the first field.
inline constexpr int kLogonWithAccount = 0;
inline constexpr int kLogonWithQQ = 1;
inline constexpr int kLogonAfterRegistration = 2;

// The separator of the fields, which no string field may hold.
inline constexpr wchar_t kArgumentSeparator = L'|';

// Whether a string can go into a field as it is.
constexpr bool fitsArgumentField(std::wstring_view text) noexcept {
    return text.find(kArgumentSeparator) == std::wstring_view::npos;
}

// The account form: " 0|account|password|<1 when the password is to be remembered>|0".
std::optional<std::wstring> accountLogonArguments(std::wstring_view account, std::wstring_view password,
                                                  bool savePassword);

// A registration: " 2|account|password|<save>|nickname|<1 for male>|0".
std::optional<std::wstring> registrationArguments(std::wstring_view account, std::wstring_view password,
                                                  bool savePassword, std::wstring_view nickname, bool male);

// A web logon with the page's two strings: " <type>|first|second|0|0".
std::optional<std::wstring> webLogonArguments(int logonType, std::wstring_view first, std::wstring_view second);
