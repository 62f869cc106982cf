#pragma once
#include <cstddef>
#include <string_view>

// A version text read as a single-precision number the way formatted input's "%f" reads it:
// leading blanks, optional sign, digits with an optional decimal point and fraction, an
// optional exponent; reading stops at the first character that does not fit. Versions are
// decimal fractions, not dotted sequences: "1.10" equals "1.1" and "1.2.3" reads as 1.2.
// A text that does not begin with a number (the empty text included) reads as 0.
float readVersionNumber(std::wstring_view text) noexcept;

// The number of characters at the start of text that readVersionNumber takes as the number,
// leading blanks included; 0 when the text does not begin with a number. The publisher uses it
// to refuse versions the launcher would not read as written.
std::size_t versionNumberLength(std::wstring_view text) noexcept;
