#include "uilib/progress.h"

#include <algorithm>

#include "uilib/paint_manager.h"
#include "uilib/render.h"

void CProgressUI::SetValue(int value) {
    value = std::clamp(value, min_, std::max(min_, max_));
    if (value != value_) {
        value_ = value;
        Invalidate();
    }
}

void CProgressUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"min") {
        min_ = parseInt(value).value_or(0);
        SetValue(value_);
    } else if (name == L"max") {
        max_ = parseInt(value).value_or(100);
        SetValue(value_);
    } else if (name == L"value") {
        SetValue(parseInt(value).value_or(0));
    } else if (name == L"foreimage") {
        foreImage_ = value;
    } else if (name == L"forecolor") {
        foreColor_ = parseColor(value).value_or(0);
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CProgressUI::PaintStatusImage(HDC dc) {
    if (max_ <= min_) {
        return;
    }
    const long long span = static_cast<long long>(max_) - min_;
    const int done = static_cast<int>((static_cast<long long>(GetWidth()) * (value_ - min_)) / span);
    if (done <= 0) {
        return;
    }
    RECT part = pos_;
    part.right = part.left + done;
    if (foreColor_ != 0) {
        fillColor(dc, part, foreColor_);
    }
    if (!foreImage_.empty()) {
        // The image spans the whole bar; only the done part of it shows.
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
        DrawImage(dc, foreImage_);
        ::RestoreDC(dc, saved);
    }
}
