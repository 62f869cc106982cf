#pragma once
// Decodes PNG and JPEG files with GDI+ into premultiplied 32-bit bitmaps, cached by path.
#include <map>
#include <memory>
#include <string>

#include "uilib/gdi_handles.h"
#include "uilib/render.h"

class ImageCache {
public:
    // The decoded image of a full path; null when it cannot be read. Failures are cached too.
    const UiImage* Get(const std::wstring& path);
    std::size_t Size() const { return images_.size(); }
    void Clear() { images_.clear(); }

private:
    struct Entry {
        UniqueGdiObject bitmap;
        UiImage image;
    };
    std::map<std::wstring, std::unique_ptr<Entry>> images_;
};

// Decodes one file; the bitmap is the caller's. False when the file is missing or not an image.
bool decodeImageFile(const std::wstring& path, UiImage& image);
