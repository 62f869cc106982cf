#pragma once
// How the colour skin the user chose in the lobby client (InterfaceType, InterfaceColor under
// Option\Interface) colours a skin's background.
#include <cstdint>
#include <string>

// InterfaceType's value for "a plain colour instead of a picture", and "no colour".
inline constexpr std::uint32_t kPlainColorSkin = 0xFFFF;
inline constexpr std::uint32_t kNoSkinColor = 0xFFFFFFFF;

struct ColorSkinBackground {
    enum class Kind { Keep, Image, Color } kind = Kind::Keep;
    std::wstring image;       // the "bkimage" description for Image
    std::uint32_t color = 0;  // the background colour for Color
};

// A skin number other than kPlainColorSkin: the picture of colour-skin folder number - 1
// (a signed number: skin 0 gives folder -1). Otherwise a colour other than kNoSkinColor: that
// colour. Otherwise the skin keeps its own background.
ColorSkinBackground colorSkinBackground(std::uint32_t skinType, std::uint32_t skinColor);
