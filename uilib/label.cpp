#include "uilib/label.h"

void CLabelUI::PaintText(HDC dc) {
    DrawTextIn(dc, TextRect(), text_, IsEnabled() ? textColor_ : disabledTextColor_, textFormat_);
}
