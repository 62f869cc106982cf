#pragma once
// The addresses of the platform's web pages, under the web server's base URL.
#include <cstdint>
#include <string>
#include <string_view>

// Links opened in the default browser, by kind.
enum class WebLink : int {
    HomePage = 1,
    Registration = 2,
    Payment = 3,
    ServiceChat = 4,
    PasswordRecovery = 5,
};

// The address of a link kind; any number that is not a kind gives the empty text.
std::wstring webLinkUrl(int kind, std::wstring_view base, std::wstring_view serviceChatUrl);
inline std::wstring webLinkUrl(WebLink kind, std::wstring_view base, std::wstring_view serviceChatUrl) {
    return webLinkUrl(static_cast<int>(kind), base, serviceChatUrl);
}

// The advertisement page for a control at (x, y) in the window and the user's colour skin.
std::wstring adsPageUrl(std::wstring_view base, int x, int y, std::uint32_t skinType, std::uint32_t skinColor);
std::wstring qqLogonPageUrl(std::wstring_view base);
std::wstring weChatLogonPageUrl(std::wstring_view base);
std::wstring registerPageUrl(std::wstring_view base);

// Whether a page lies on the platform's web site: its address is the base itself or goes on
// from it with "/", "?" or "#" (so that "http://www.example.cn.other.net/" is not under
// "http://www.example.cn"), compared without regard to ASCII case. An empty base has no pages.
bool isPlatformPage(std::wstring_view url, std::wstring_view base);
