#include "uilib/render.h"

#include <algorithm>

#include "uilib/gdi_handles.h"
#include "uilib/pixels.h"

COLORREF toColorRef(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

void fillColor(HDC dc, const RECT& rect, std::uint32_t argb) {
    const BYTE alpha = static_cast<BYTE>(argb >> 24);
    if (alpha == 0 || rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    if (alpha == 255) {
        UniqueGdiObject brush(::CreateSolidBrush(toColorRef(argb)));
        ::FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
        return;
    }
    // One premultiplied pixel stretched over the rectangle.
    void* bits = nullptr;
    const UniqueGdiObject pixel = createPixelBitmap(1, 1, bits);
    if (!pixel) {
        return;
    }
    const auto premultiply = [alpha](std::uint32_t c) { return std::uint32_t{premultiplyChannel(c, alpha)}; };
    *static_cast<std::uint32_t*>(bits) = (static_cast<std::uint32_t>(alpha) << 24) |
                                         (premultiply((argb >> 16) & 0xFF) << 16) |
                                         (premultiply((argb >> 8) & 0xFF) << 8) | premultiply(argb & 0xFF);
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    SelectObjectGuard selected(source.get(), pixel.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(), 0, 0, 1, 1,
                 blend);
}

void drawBorder(HDC dc, const RECT& rect, std::uint32_t argb, int width, int round) {
    if (width <= 0 || (argb >> 24) == 0) {
        return;
    }
    UniqueGdiObject pen(::CreatePen(PS_SOLID | PS_INSIDEFRAME, width, toColorRef(argb)));
    SelectObjectGuard selectedPen(dc, pen.get());
    SelectObjectGuard selectedBrush(dc, ::GetStockObject(NULL_BRUSH));
    if (round > 0) {
        ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, round, round);
    } else {
        ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
}

int nineGridPieces(const UiRect& source, const UiRect& corner, const UiRect& dest, NineGridPiece (&pieces)[9]) {
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    const int dw = dest.right - dest.left;
    const int dh = dest.bottom - dest.top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        return 0;
    }
    // Borders as large as the source allows, then as large as the destination allows.
    const int sl = std::clamp(corner.left, 0, sw);
    const int sr = std::clamp(corner.right, 0, sw - sl);
    const int st = std::clamp(corner.top, 0, sh);
    const int sb = std::clamp(corner.bottom, 0, sh - st);
    const int dl = std::min(sl, dw);
    const int dr = std::min(sr, dw - dl);
    const int dt = std::min(st, dh);
    const int db = std::min(sb, dh - dt);
    // Columns: source span and destination span of left, middle, right.
    const int fromX[3][2] = {
        {source.left, source.left + dl}, {source.left + sl, source.right - sr}, {source.right - dr, source.right}};
    const int toX[3][2] = {
        {dest.left, dest.left + dl}, {dest.left + dl, dest.right - dr}, {dest.right - dr, dest.right}};
    const int fromY[3][2] = {
        {source.top, source.top + dt}, {source.top + st, source.bottom - sb}, {source.bottom - db, source.bottom}};
    const int toY[3][2] = {
        {dest.top, dest.top + dt}, {dest.top + dt, dest.bottom - db}, {dest.bottom - db, dest.bottom}};
    int count = 0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const NineGridPiece piece{{fromX[column][0], fromY[row][0], fromX[column][1], fromY[row][1]},
                                      {toX[column][0], toY[row][0], toX[column][1], toY[row][1]}};
            if (piece.from.right > piece.from.left && piece.from.bottom > piece.from.top &&
                piece.to.right > piece.to.left && piece.to.bottom > piece.to.top) {
                pieces[count++] = piece;
            }
        }
    }
    return count;
}

void drawImage(HDC dc, const UiImage& image, const RECT& dest, const UiRect& source, const UiRect& corner,
               std::uint8_t fade) {
    UiRect from = source;
    from.left = std::clamp(from.left, 0, image.width);
    from.right = std::clamp(from.right, from.left, image.width);
    from.top = std::clamp(from.top, 0, image.height);
    from.bottom = std::clamp(from.bottom, from.top, image.height);
    NineGridPiece pieces[9];
    const int count = nineGridPieces(from, corner, UiRect{dest.left, dest.top, dest.right, dest.bottom}, pieces);
    if (count == 0) {
        return;
    }
    UniqueMemoryDc source_dc(::CreateCompatibleDC(dc));
    SelectObjectGuard selected(source_dc.get(), image.bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
    for (int i = 0; i < count; ++i) {
        const NineGridPiece& p = pieces[i];
        const int width = p.to.right - p.to.left;
        const int height = p.to.bottom - p.to.top;
        if (image.opaque && fade == 255 && width == p.from.right - p.from.left &&
            height == p.from.bottom - p.from.top) {
            // Opaque over anything is the source itself: a copy, many times faster than a blend.
            ::BitBlt(dc, p.to.left, p.to.top, width, height, source_dc.get(), p.from.left, p.from.top, SRCCOPY);
        } else {
            ::AlphaBlend(dc, p.to.left, p.to.top, width, height, source_dc.get(), p.from.left, p.from.top,
                         p.from.right - p.from.left, p.from.bottom - p.from.top, blend);
        }
    }
}

void drawText(HDC dc, const RECT& rect, std::wstring_view text, HFONT font, std::uint32_t argb, UINT format) {
    if (text.empty() || rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    SelectObjectGuard selected(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, toColorRef(argb));
    RECT box = rect;
    const int length = static_cast<int>(text.size());
    if ((format & DT_SINGLELINE) == 0 && (format & (DT_VCENTER | DT_BOTTOM)) != 0) {
        // DrawTextW centres single lines only: measure the block and place it.
        RECT measured = rect;
        ::DrawTextW(dc, text.data(), length, &measured, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        const int room = rect.bottom - rect.top;
        if (height < room) {
            box.top += (format & DT_BOTTOM) ? room - height : (room - height) / 2;
        }
        format &= ~(DT_VCENTER | DT_BOTTOM);
    }
    ::DrawTextW(dc, text.data(), length, &box, format | DT_NOPREFIX);
}
