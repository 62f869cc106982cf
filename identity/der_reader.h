#pragma once
// Reads DER (the distinguished encoding of ASN.1) one element at a time, strictly: definite
// lengths in their shortest form only, nothing read past the input. Signatures and keys
// come from outside, so every length is checked before it is used.
#include <cstddef>
#include <cstdint>
#include <span>

using ByteSpan = std::span<const std::uint8_t>;

class DerReader {
public:
    explicit DerReader(ByteSpan input) noexcept : rest_(input) {}

    // Reads the next element if it has this tag: its contents in value, and the reader moves
    // past it. False (nothing read, value untouched) for another tag or a broken length.
    [[nodiscard]] bool read(std::uint8_t tag, ByteSpan& value) noexcept;
    // True when everything was read.
    bool done() const noexcept { return rest_.empty(); }

private:
    ByteSpan rest_;
};

namespace der {
inline constexpr std::uint8_t kInteger = 0x02;
inline constexpr std::uint8_t kBitString = 0x03;
inline constexpr std::uint8_t kOctetString = 0x04;
inline constexpr std::uint8_t kObjectId = 0x06;
inline constexpr std::uint8_t kSequence = 0x30;
// [n] EXPLICIT, constructed, context-specific.
constexpr std::uint8_t contextTag(unsigned n) noexcept {
    return static_cast<std::uint8_t>(0xA0 | n);
}
}  // namespace der
