#include "uilib/pixels.h"

#include <algorithm>
#include <array>

ImageFormat sniffImageFormat(std::span<const std::uint8_t> head) {
    static constexpr std::array<std::uint8_t, 8> kPng{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static constexpr std::array<std::uint8_t, 3> kJpeg{0xFF, 0xD8, 0xFF};
    if (head.size() >= kPng.size() && std::equal(kPng.begin(), kPng.end(), head.begin())) {
        return ImageFormat::Png;
    }
    if (head.size() >= kJpeg.size() && std::equal(kJpeg.begin(), kJpeg.end(), head.begin())) {
        return ImageFormat::Jpeg;
    }
    return ImageFormat::Other;
}

bool premultiplyBgra(std::uint8_t* pixels, std::size_t count) {
    bool opaque = true;
    for (std::size_t i = 0; i < count; ++i, pixels += 4) {
        const std::uint32_t alpha = pixels[3];
        if (alpha == 255) {
            continue;
        }
        opaque = false;
        pixels[0] = premultiplyChannel(pixels[0], alpha);
        pixels[1] = premultiplyChannel(pixels[1], alpha);
        pixels[2] = premultiplyChannel(pixels[2], alpha);
    }
    return opaque;
}

bool allOpaque(const std::uint8_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, pixels += 4) {
        if (pixels[3] != 255) {
            return false;
        }
    }
    return true;
}

void widenBgr(const std::uint8_t* from, std::uint8_t* to, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 255;
    }
}
