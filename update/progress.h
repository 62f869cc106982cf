#pragma once
#include <cstdint>

// The progress bar's value for done of total: done x 100 / total, truncated, cut to its low
// 8 bits. Computed without overflow for any 32-bit done; total must not be 0.
inline std::uint8_t progressPercent(std::int32_t done, std::int32_t total) noexcept {
    const std::int64_t percent = static_cast<std::int64_t>(done) * 100 / total;
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(percent) & 0xFF);
}
