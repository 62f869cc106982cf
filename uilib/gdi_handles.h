#pragma once
// Owners for GDI objects and device contexts, and a guard that restores a selected object.
#include <windows.h>

#include "common/unique_handle.h"

struct GdiObjectTraits {
    using pointer = HGDIOBJ;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::DeleteObject(value); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

// A top-down 32-bit DIB section (premultiplied BGRA rows, width * 4 bytes each), with the
// address of its pixels in bits; empty, and bits null, when it cannot be made.
inline UniqueGdiObject createPixelBitmap(int width, int height, void*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits == nullptr) {
        bitmap.reset();
    }
    return bitmap;
}

struct MemoryDcTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::DeleteDC(value); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// Selects an object into a DC and puts the previous one back when it goes.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectObjectGuard() {
        if (previous_ != nullptr) {
            ::SelectObject(dc_, previous_);
        }
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window DC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
