#pragma once
// Decodes image files (PNG, JPEG and whatever else the platform's imaging component reads) into
// premultiplied 32-bit bitmaps. A decoder belongs to the thread that made it: it keeps that
// thread's COM started and the platform's decoders at hand from one file to the next, so the
// registry is asked about them once.
#include <windows.h>
#include <wincodec.h>

#include <string>

#include "common/com_ptr.h"
#include "uilib/pixels.h"
#include "uilib/render.h"

class ImageDecoder {
public:
    ImageDecoder();
    ~ImageDecoder();
    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    // Decodes one file; the bitmap is the caller's. False, with image untouched, when the file
    // is missing, too large or not an image.
    bool Decode(const std::wstring& path, UiImage& image);

private:
    bool Start();
    ComPtr<IWICBitmapDecoder> DecoderFor(IStream* stream, ImageFormat format);

    bool comStarted_ = false;
    bool startFailed_ = false;
    ComPtr<IWICImagingFactory> factory_;
    ComPtr<IClassFactory> pngDecoders_;
    ComPtr<IClassFactory> jpegDecoders_;
};
