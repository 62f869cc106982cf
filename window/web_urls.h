#pragma once
// The addresses of the platform's web pages, under the web server's base URL.
#include <cstdint>
#include <string>
#include <string_view>

// Links opened in the default browser, by kind: 1 home page, 2 registration, 3 payment,
// 4 customer-service chat, 5 password recovery. Any other kind gives the empty text.
std::wstring webLinkUrl(int kind, std::wstring_view base, std::wstring_view serviceChatUrl);

// The advertisement page for a control at (x, y) in the window and the user's colour skin.
std::wstring adsPageUrl(std::wstring_view base, int x, int y, std::uint32_t skinType, std::uint32_t skinColor);
std::wstring qqLogonPageUrl(std::wstring_view base);
std::wstring weChatLogonPageUrl(std::wstring_view base);
std::wstring registerPageUrl(std::wstring_view base);
