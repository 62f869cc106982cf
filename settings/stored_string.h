#pragma once
// The scrambled text in which the lobby client remembers a password: groups of 8 hexadecimal
// digits, one per character (a 16-bit mask, then the character XOR the mask), padded to whole
// blocks of 8 groups. The first four digits are both the length and the first mask.
#include <cstdint>
#include <string>
#include <string_view>

// The most characters a decoded password may have, terminator included.
inline constexpr std::uint16_t kStoredStringMaxCapacity = 64;

// Decodes text into out (capacity in characters, terminator included; values above
// kStoredStringMaxCapacity count as that). out is set to the empty string first, so a failed
// decode leaves an empty password; with capacity 0 nothing is written. Fails when the text is
// shorter than 64 characters, when its length is not ceil(n / 8) * 64 for its count n, when n
// does not fit the capacity, or when a digit that is read is not hexadecimal.
bool DecodeStoredString(std::wstring_view text, wchar_t* out, std::uint16_t capacity);

// The text the lobby client stores for a password: the first mask is the length, the others
// maskStep times the character's position; pad fills the last block. The one writer of the
// format for the tests and the scripts that remember accounts.
std::wstring EncodeStoredString(std::wstring_view text, std::uint16_t maskStep = 0x1234, wchar_t pad = L'0');
