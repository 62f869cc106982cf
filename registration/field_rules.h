#pragma once
// The rules of the registration form's fields and the texts that explain them.
#include <cstddef>
#include <string_view>

inline constexpr wchar_t kAccountHint[] = L"6~18个字母/数字组成，不能全为数字，不区分大小写";
inline constexpr wchar_t kAccountLengthText[] = L"用户名的合法长度为6~18个字符";
inline constexpr wchar_t kAccountDigitsText[] = L"不能全为数字";
inline constexpr wchar_t kNicknameHint[] = L"游戏昵称由6-16个字符组成，一个汉字算两个字符";
inline constexpr wchar_t kPasswordHint[] = L"8～16个字符(字母、数字、特殊符号),区分大小写";
inline constexpr wchar_t kPasswordMismatchText[] = L"两次输入密码不一致";

enum class AccountNameCheck { Valid, BadLength, OnlyDigits };
// 6 to 18 units, not all of them digits; letters, Chinese characters and symbols are accepted.
AccountNameCheck checkAccountName(std::wstring_view text);

// The nickname's length as the form's hint tells the user: a Chinese character (a CJK
// ideograph, a CJK symbol or a full-width form) counts as two, everything else as one.
std::size_t nicknameLength(std::wstring_view text);
// 6 to 16 by nicknameLength.
bool checkNickname(std::wstring_view text);

enum class PasswordCheck { Valid, BadLength, Mismatch };
// text: 8 to 16 units; then, when both password fields are filled, they must be equal
// (letter case counts).
PasswordCheck checkPassword(std::wstring_view text, std::wstring_view firstField, std::wstring_view secondField);

// True when a code exists and the text equals it exactly.
inline bool checkVerifyCode(std::wstring_view code, std::wstring_view text) {
    return !code.empty() && text == code;
}
