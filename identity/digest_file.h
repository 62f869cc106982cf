#pragma once
// How a file is opened to be digested, and the texts that stand in for a digest when that or
// reading it fails.
#include <windows.h>

#include <string>

#include "common/unique_handle.h"

inline constexpr wchar_t kCreateFileErrorFormat[] = L"CreateFile Error ( code:%d )!";
inline constexpr wchar_t kReadFileErrorFormat[] = L"ReadFile Error ( code:%d )!";

// Read access, others may read too; on failure GetLastError tells why.
UniqueFileHandle openFileToDigest(const std::wstring& path) noexcept;

// The text of `format` (one of the above, or another with one %d) with the system's error code.
std::wstring digestErrorText(const wchar_t* format, DWORD code);
