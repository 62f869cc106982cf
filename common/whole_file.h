#pragma once
// Reading a small file whole.
#include <cstddef>
#include <optional>
#include <string>

// The bytes of the file at path (used as given); nothing when it cannot be opened or read
// whole, or holds more than maxBytes.
std::optional<std::string> readWholeFile(const std::wstring& path, std::size_t maxBytes);
