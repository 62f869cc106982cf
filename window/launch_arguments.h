#pragma once
// The argument texts the lobby client is started with. A contract with Lobbex.exe: one
// leading space, fields separated by "|", numbers in signed decimal, strings inserted as they
// are (the format has no quoting: a "|" inside a string is not protected).
#include <string>
#include <string_view>

// Logon types, the first field.
inline constexpr int kLogonWithAccount = 0;
inline constexpr int kLogonWithQQ = 1;
inline constexpr int kLogonAfterRegistration = 2;

// The account form: " 0|account|password|<1 when the password is to be remembered>|0".
std::wstring accountLogonArguments(std::wstring_view account, std::wstring_view password, bool savePassword);

// A registration: " 2|account|password|<save>|nickname|<1 for male>|0".
std::wstring registrationArguments(std::wstring_view account, std::wstring_view password, bool savePassword,
                                   std::wstring_view nickname, bool male);

// A web logon with the page's two strings: " <type>|first|second|0|0".
std::wstring webLogonArguments(int logonType, std::wstring_view first, std::wstring_view second);
