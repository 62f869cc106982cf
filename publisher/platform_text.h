#pragma once
// The text conversions the publisher needs, giving the same results on every build: code page
// 936 as Windows has it (the players' ANSI code page, in which the list carries its paths),
// file names as text, and names compared as Windows compares them.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The code page 936 bytes of text; nothing when a character has no form there that reads back
// as the same character. Private-use characters are refused too: Windows gives them bytes
// that other systems read as something else (or not at all).
std::optional<std::string> encodeCodePage936(std::wstring_view text);

// The text of code page 936 bytes; nothing when they are not valid there.
std::optional<std::wstring> decodeCodePage936(std::string_view bytes);

// A file name or command-line argument as text: the UTF-16 name on Windows; elsewhere the
// name's bytes read as UTF-8. Nothing when they are not valid UTF-8.
std::optional<std::wstring> pathText(const std::filesystem::path& path);

// The path whose text is text (the inverse of pathText).
std::filesystem::path textPath(std::wstring_view text);

// UTF-8 form of text, for messages. Characters without one become U+FFFD.
std::string utf8Text(std::wstring_view text);

// Upper case of each character, as Windows compares file names (which ignores case).
std::wstring foldCase(std::wstring_view text);

// True where the served tree gets code page 936 names beside the UTF-8 ones (see
// served_names.h): on systems whose file names are bytes.
inline constexpr bool kServesCodePage936Names =
#ifdef _WIN32
    false;
#else
    true;
#endif
