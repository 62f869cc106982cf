#include "window/hit_test_rules.h"

int hitTestCode(const EdgeRect& window, const EdgeRect& caption, const EdgeRect& sizeBox, int x, int y, bool maximised,
                const std::function<bool()>& onActiveControl) {
    int row = 1;
    int column = 1;
    bool onCaption = false;
    if (window.left + caption.left <= x && x < window.right - caption.right && window.top + caption.top <= y &&
        y < window.top + caption.bottom) {
        onCaption = !onActiveControl();
    }
    if (!maximised) {
        if (window.top - 4 <= y && y < window.top + sizeBox.top) {
            row = 0;
            onCaption = false;
        } else if (window.bottom - sizeBox.bottom <= y && y < window.bottom + 4) {
            row = 2;
            onCaption = false;
        }
        if (window.left - 4 <= x && x < window.left + sizeBox.left) {
            column = 0;
            onCaption = false;
        } else if (window.right - sizeBox.right <= x && x < window.right + 4) {
            column = 2;
            onCaption = false;
        }
    }
    // A point on the caption band that no sizing band took drags the window.
    if (onCaption) {
        return kHitCaption;
    }
    static const int codes[3][3] = {
        {kHitTopLeft, kHitTop, kHitTopRight},
        {kHitLeft, kHitUndecided, kHitRight},
        {kHitBottomLeft, kHitBottom, kHitBottomRight},
    };
    return codes[row][column];
}
