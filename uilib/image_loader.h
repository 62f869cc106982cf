#pragma once
// Decoded images cached by path, for the thread that paints one window.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "uilib/gdi_handles.h"
#include "uilib/image_decoder.h"
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
    std::optional<ImageDecoder> decoder_;  // made by the first Get, on the painting thread
};

// Decodes one file; the bitmap is the caller's. False when the file is missing or not an image.
bool decodeImageFile(const std::wstring& path, UiImage& image);
