#pragma once
#include <string>
#include <string_view>

// MD5 text of the first N bytes of the text's UTF-16LE form, N being the number of UTF-16
// units (N bytes, not 2N): the machine identifier and the setup-report sign are made this
// way and the statistics server checks them so. An empty text gives the empty text.
std::wstring textDigest(std::wstring_view text);
