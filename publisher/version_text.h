#pragma once
// How the launcher reads a version text, seen from the side of the one who writes it.
#include <cstddef>
#include <string_view>

// The number of characters at the start of text that the launcher's version reading
// (readVersionNumber) takes as the number, leading blanks included; 0 when the text does
// not begin with a number, which the launcher then reads as 0.
std::size_t versionNumberLength(std::wstring_view text) noexcept;
