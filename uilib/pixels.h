#pragma once
// Pixel rules of decoded images, free of Windows services: which decoder a file's first bytes
// call for, and the rows of 32-bit premultiplied BGRA that GDI's AlphaBlend draws.
#include <cstddef>
#include <cstdint>
#include <span>

enum class ImageFormat { Png, Jpeg, Other };

// The format named by a file's signature; Other for anything else (left to the platform's
// decoders to recognise, or to refuse).
ImageFormat sniffImageFormat(std::span<const std::uint8_t> head);

// One colour channel scaled by its alpha, rounded to the nearest value (as GDI+ does).
constexpr std::uint8_t premultiplyChannel(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

// Straight BGRA pixels become premultiplied ones, in place. True when every pixel is opaque.
bool premultiplyBgra(std::uint8_t* pixels, std::size_t count);

// Whether every one of the BGRA pixels is opaque.
bool allOpaque(const std::uint8_t* pixels, std::size_t count);

// 24-bit BGR pixels widened to opaque 32-bit BGRA; from and to must not overlap.
void widenBgr(const std::uint8_t* from, std::uint8_t* to, std::size_t count);
