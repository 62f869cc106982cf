#pragma once
// Which part of the borderless window a point is on: the skin's caption band drags it, the
// skin's size box bands resize it. No Windows services needed.
#include <functional>

struct EdgeRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Hit-test codes of the platform.
inline constexpr int kHitUndecided = 0;
inline constexpr int kHitCaption = 2;
inline constexpr int kHitLeft = 10, kHitRight = 11, kHitTop = 12, kHitTopLeft = 13, kHitTopRight = 14;
inline constexpr int kHitBottom = 15, kHitBottomLeft = 16, kHitBottomRight = 17;

// window: the window rectangle on screen. caption: left and top from the window's left and
// top edges, right from its right edge, bottom from its top edge. sizeBox: the widths of the
// sizing bands. onActiveControl: asked only for a point inside the caption band, whether a
// control the user works with (button, edit, ...) lies under it.
int hitTestCode(const EdgeRect& window, const EdgeRect& caption, const EdgeRect& sizeBox, int x, int y, bool maximised,
                const std::function<bool()>& onActiveControl);
