// The stored-password decoder on any text: the output is always terminated within the given
// capacity, it is empty whenever the decode fails, and a decoded password has the length the
// text's count states.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/stored_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte picks the capacity (0 to 80, past the decoder's limit of 64 too); the rest
    // are the text's UTF-16 units.
    const std::uint16_t capacity = static_cast<std::uint16_t>(data[0] % 81);
    std::wstring text;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    constexpr std::size_t kGuard = 8;
    wchar_t out[80 + kGuard];
    for (wchar_t& unit : out) {
        unit = L'\x7777';
    }
    const bool decoded = DecodeStoredString(text, out, capacity);
    for (std::size_t i = capacity; i < 80 + kGuard; ++i) {
        FUZZ_CHECK(out[i] == L'\x7777');  // nothing written past the capacity
    }
    if (capacity == 0) {
        FUZZ_CHECK(!decoded);
        return 0;
    }
    std::size_t length = 0;
    while (length < capacity && out[length] != L'\0') {
        ++length;
    }
    FUZZ_CHECK(length < capacity);  // terminated
    if (!decoded) {
        FUZZ_CHECK(length == 0);
    } else {
        FUZZ_CHECK(text.size() >= 64 && text.size() % 64 == 0);
        FUZZ_CHECK(length <= 64);
    }
    return 0;
}
