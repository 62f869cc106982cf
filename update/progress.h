#pragma once
#include <cstdint>

// The progress bar's value for done of total: done x 100 / total, truncated, cut to its low
// 8 bits. Computed without overflow for any 32-bit done; total must not be 0.
inline std::uint8_t progressPercent(std::int32_t done, std::int32_t total) noexcept {
    const std::int64_t percent = static_cast<std::int64_t>(done) * 100 / total;
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(percent) & 0xFF);
}

// How often, at most, the update hands a changed progress value to the window while data
// arrives: a few updates a second move the bar smoothly without flooding the interface thread.
inline constexpr std::uint64_t kProgressIntervalMs = 100;

// Decides which progress values go to the window: a value that differs from the last one
// handed over, once kProgressIntervalMs have passed since then; a forced one (the end of a
// file, say) whenever it differs.
class ProgressPacer {
public:
    bool due(std::uint64_t nowMs, std::int64_t value, bool force = false) noexcept {
        if (handed_ && value == last_) {
            return false;
        }
        if (handed_ && !force && nowMs - lastMs_ < kProgressIntervalMs) {
            return false;
        }
        handed_ = true;
        last_ = value;
        lastMs_ = nowMs;
        return true;
    }

private:
    bool handed_ = false;
    std::int64_t last_ = 0;
    std::uint64_t lastMs_ = 0;
};
