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
