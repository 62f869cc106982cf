// The borderless window's shape: its region from the skin's round corner, and the hit test
// that makes the skin's caption band drag it and its size box resize it.
#include <windows.h>

#include "common/ascii_case.h"
#include "common/unique_handle.h"
#include "uilib/control.h"
#include "window/hit_test_rules.h"
#include "window/launcher_wnd.h"

namespace {

struct RegionTraits {
    using pointer = HRGN;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::DeleteObject(value); }
};
using UniqueRegion = UniqueHandle<RegionTraits>;

// Gives the region to the window, which owns it from then on; none removes the region.
void setRegion(HWND hwnd, UniqueRegion region) {
    if (region) {
        ::SetWindowRgn(hwnd, region.release(), TRUE);
    } else {
        ::SetWindowRgn(hwnd, nullptr, TRUE);
    }
}

}  // namespace

void CLauncherWnd::ApplyWindowRegion() {
    const HWND hwnd = GetHWND();
    if (::IsIconic(hwnd)) {
        ::SetWindowRgn(hwnd, nullptr, TRUE);
        return;
    }
    RECT window;
    ::GetWindowRect(hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const SIZE corner = paintManager_.GetRoundCorner();
    UniqueRegion region(corner.cx > 0 && corner.cy > 0
                            ? ::CreateRoundRectRgn(0, 0, width + 1, height + 1, corner.cx, corner.cy)
                            : ::CreateRectRgn(0, 0, width + 1, height + 1));
    setRegion(hwnd, std::move(region));
}

void CLauncherWnd::OnSizeRegion() {
    const HWND hwnd = GetHWND();
    const SIZE corner = paintManager_.GetRoundCorner();
    UniqueRegion region;
    if (!::IsIconic(hwnd) && (corner.cx != 0 || corner.cy != 0)) {
        RECT window;
        ::GetWindowRect(hwnd, &window);
        region.reset(::CreateRoundRectRgn(0, 0, window.right - window.left + 1, window.bottom - window.top + 1,
                                          corner.cx, corner.cy));
    }
    setRegion(hwnd, std::move(region));
}

LRESULT CLauncherWnd::HitTest(HWND hwnd, int x, int y) {
    RECT window;
    ::GetWindowRect(hwnd, &window);
    const RECT caption = paintManager_.GetCaptionRect();
    const RECT sizeBox = paintManager_.GetSizeBox();
    auto edges = [](const RECT& r) { return EdgeRect{r.left, r.top, r.right, r.bottom}; };
    return hitTestCode(edges(window), edges(caption), edges(sizeBox), x, y, ::IsZoomed(hwnd) != FALSE, [&] {
        POINT point{x, y};
        ::ScreenToClient(hwnd, &point);
        return IsActiveControl(paintManager_.FindControl(point));
    });
}

bool CLauncherWnd::IsActiveControl(CControlUI* control) {
    if (control == nullptr) {
        return false;
    }
    for (const wchar_t* active : {L"ButtonUI", L"ProgressUI", L"TextUI", L"EditUI", L"ComboUI"}) {
        if (equalsIgnoringAsciiCase(control->GetClass(), active)) {
            return true;
        }
    }
    return false;
}
