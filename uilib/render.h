#pragma once
// Drawing primitives on the back buffer: colours with alpha, images with a nine-grid, text.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "uilib/attribute_text.h"

// A decoded image: a 32-bit top-down DIB with premultiplied alpha.
struct UiImage {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    bool opaque = false;  // every pixel's alpha is 255: drawn unscaled, it is a plain copy
};

// 0xAARRGGBB as a GDI colour (alpha dropped).
COLORREF toColorRef(std::uint32_t argb);

// Fills rect with an 0xAARRGGBB colour, blended when it is not opaque.
void fillColor(HDC dc, const RECT& rect, std::uint32_t argb);
// A frame of the given width inside rect; round > 0 draws rounded corners.
void drawBorder(HDC dc, const RECT& rect, std::uint32_t argb, int width, int round);

// Draws the source part of image into dest. The corner borders keep their size (clipped when
// the destination is smaller); the middle parts are stretched.
void drawImage(HDC dc, const UiImage& image, const RECT& dest, const UiRect& source, const UiRect& corner,
               std::uint8_t fade);

// One piece of a nine-grid: where it comes from and where it goes.
struct NineGridPiece {
    UiRect from;
    UiRect to;
};
// The up to nine pieces of the nine-grid drawing, empty pieces left out. Pure arithmetic.
int nineGridPieces(const UiRect& source, const UiRect& corner, const UiRect& dest, NineGridPiece (&pieces)[9]);

// Draws text with DrawTextW flags; DT_VCENTER works for several lines too.
void drawText(HDC dc, const RECT& rect, std::wstring_view text, HFONT font, std::uint32_t argb, UINT format);
