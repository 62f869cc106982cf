#pragma once
// How much of a body one read asks for. Reads that come back quickly grow, so that a fast
// network costs few calls; slow ones shrink, so that on a slow network a read never keeps the
// progress bar still for long (a read returns when its buffer is full or the body ends).
#include <cstdint>

inline constexpr std::uint32_t kFirstReadBytes = 64u << 10;
inline constexpr std::uint32_t kMinReadBytes = 16u << 10;
inline constexpr std::uint32_t kMaxReadBytes = 1u << 20;

// The next read's size after a read of current bytes that took elapsedMs.
constexpr std::uint32_t nextReadBytes(std::uint32_t current, std::uint32_t elapsedMs) noexcept {
    if (elapsedMs < 30 && current < kMaxReadBytes) {
        return current * 2 > kMaxReadBytes ? kMaxReadBytes : current * 2;
    }
    if (elapsedMs > 100 && current > kMinReadBytes) {
        return current / 2 < kMinReadBytes ? kMinReadBytes : current / 2;
    }
    return current;
}
