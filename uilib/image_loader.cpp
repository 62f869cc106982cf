#include "uilib/image_loader.h"

#include <algorithm>
#include <cstring>
#include <mutex>

// GDI+'s headers expect min and max as the Windows headers define them without NOMINMAX.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>
#include <gdiplus.h>

namespace {

// GDI+ is started once for the process and left running until it ends: images are decoded on
// whichever thread shows a window, and stopping GDI+ while another thread uses it is not allowed.
bool startGdiplus() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    });
    return started;
}

}  // namespace

bool decodeImageFile(const std::wstring& path, UiImage& image) {
    if (!startGdiplus() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    Gdiplus::Bitmap source(path.c_str());
    if (source.GetLastStatus() != Gdiplus::Ok) {
        return false;
    }
    const int width = static_cast<int>(source.GetWidth());
    const int height = static_cast<int>(source.GetHeight());
    if (width <= 0 || height <= 0) {
        return false;
    }
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (source.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        const std::size_t row = static_cast<std::size_t>(width) * 4;
        for (int y = 0; y < height; ++y) {
            std::memcpy(static_cast<BYTE*>(bits) + row * static_cast<std::size_t>(y),
                        static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(data.Stride) * y, row);
        }
    }
    source.UnlockBits(&data);
    if (bitmap == nullptr) {
        return false;
    }
    image.bitmap = bitmap;
    image.width = width;
    image.height = height;
    return true;
}

const UiImage* ImageCache::Get(const std::wstring& path) {
    auto it = images_.find(path);
    if (it == images_.end()) {
        auto entry = std::make_unique<Entry>();
        if (decodeImageFile(path, entry->image)) {
            entry->bitmap.reset(entry->image.bitmap);
        } else {
            entry.reset();
        }
        it = images_.emplace(path, std::move(entry)).first;
    }
    return it->second ? &it->second->image : nullptr;
}
