#pragma once
// MD5 (RFC 1321). Each Md5 object owns its whole working state, so computations on
// different threads never share anything.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
public:
    void update(const void* data, std::size_t size) noexcept;
    // Applies the padding and returns the digest; the object must not be updated afterwards.
    Md5Digest finish() noexcept;

private:
    friend void md5UpdateLanes(Md5* const md5s[], const std::uint8_t* const data[], std::size_t count,
                               std::size_t blocks) noexcept;

    std::uint32_t state_[4] = {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    std::uint64_t length_ = 0;  // bytes so far
    std::uint8_t block_[64] = {};
    std::size_t buffered_ = 0;
};

Md5Digest md5Of(const void* data, std::size_t size) noexcept;

// The 16 digest bytes as 32 upper-case hexadecimal digits.
std::wstring digestText(const Md5Digest& digest);
