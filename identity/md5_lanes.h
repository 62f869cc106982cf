#pragma once
// MD5 of several messages at once. One MD5 is a single chain of dependent steps, so a
// processor spends most of its time waiting on it; the lanes of SSE2 registers carry four
// chains side by side, and two such groups in turn keep the processor busy with eight.
#include <cstddef>
#include <cstdint>

#include "identity/md5.h"

inline constexpr std::size_t kMd5Lanes = 8;

// Advances md5s[0..count) by `blocks` 64-byte blocks each, md5s[i] over data[i]; count is at
// most kMd5Lanes. Every Md5 given must hold no partial block: its length so far a multiple
// of 64. The results are those of Md5::update over the same bytes.
void md5UpdateLanes(Md5* const md5s[], const std::uint8_t* const data[], std::size_t count,
                    std::size_t blocks) noexcept;
