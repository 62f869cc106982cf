#pragma once
// Fixed-capacity text fields (capacity counts the terminating NUL).
#include <cstddef>
#include <string_view>

// Copies at most capacity - 1 units of src into dst and always terminates it.
// Returns true when the whole text fit.
template <std::size_t Capacity>
bool copyFixedText(wchar_t (&dst)[Capacity], std::wstring_view src) noexcept {
    static_assert(Capacity > 0);
    const std::size_t n = src.size() < Capacity - 1 ? src.size() : Capacity - 1;
    for (std::size_t i = 0; i < n; ++i) {
        dst[i] = src[i];
    }
    dst[n] = L'\0';
    return n == src.size();
}

// The text of a fixed field up to its first NUL.
template <std::size_t Capacity>
std::wstring_view fixedTextView(const wchar_t (&field)[Capacity]) noexcept {
    std::size_t n = 0;
    while (n < Capacity && field[n] != L'\0') {
        ++n;
    }
    return std::wstring_view(field, n);
}
