#pragma once
// The one place where 8-bit text and UTF-16 meet. Whole strings at a time, explicit code page.
#include <optional>
#include <string>
#include <string_view>
#include <windows.h>

// Decodes bytes in the given code page (CP_THREAD_ACP, CP_ACP, 936, CP_UTF8, ...).
std::wstring decodeBytes(std::string_view bytes, UINT codePage);

// Encodes text in the given code page; nothing when a character has no representation there.
std::optional<std::string> encodeText(std::wstring_view text, UINT codePage);

// Widens each byte to one character 0-255, without any code page.
std::wstring widenBytes(std::string_view bytes);
