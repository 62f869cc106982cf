#include "uilib/image_decoder.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "tests/support/temp_dir.h"
#include "uilib/gdi_handles.h"
#include "uilib/image_loader.h"

namespace {

// Writes a 2x1 PNG in the given pixel format; the bytes are the rows as that format lays them out.
// False when the platform's encoder would store the pixels in another format.
bool writePng(const std::wstring& path, const GUID& format, const std::vector<std::uint8_t>& row, UINT stride,
              const std::vector<WICColor>& palette = {}) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.putVoid())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(2, 1))) {
        return false;
    }
    WICPixelFormatGUID chosen = format;
    if (FAILED(frame->SetPixelFormat(&chosen)) || !IsEqualGUID(chosen, format)) {
        return false;
    }
    if (!palette.empty()) {
        ComPtr<IWICPalette> colours;
        if (FAILED(factory->CreatePalette(colours.put())) ||
            FAILED(
                colours->InitializeCustom(const_cast<WICColor*>(palette.data()), static_cast<UINT>(palette.size()))) ||
            FAILED(frame->SetPalette(colours.get()))) {
            return false;
        }
    }
    std::vector<std::uint8_t> pixels = row;
    return SUCCEEDED(frame->WritePixels(1, stride, static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::vector<std::uint32_t> pixelsOf(const UiImage& image) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ::GetDIBits(dc.get(), image.bitmap, 0, static_cast<UINT>(image.height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// Every layout of pixels a PNG can hold ends as premultiplied 0xAARRGGBB.
TEST(ImageDecoder, EveryPixelFormatEndsPremultiplied) {
    struct Case {
        const char* name;
        GUID format;
        std::vector<std::uint8_t> row;
        UINT stride;
        std::vector<WICColor> palette;
        std::uint32_t first, second;
        bool opaque;
    };
    const Case cases[] = {
        {"straight BGRA",
         GUID_WICPixelFormat32bppBGRA,
         {200, 100, 50, 128, 10, 20, 30, 255},
         8,
         {},
         0x80193264,
         0xFF1E140A,
         false},
        {"BGR", GUID_WICPixelFormat24bppBGR, {200, 100, 50, 10, 20, 30}, 6, {}, 0xFF3264C8, 0xFF1E140A, true},
        {"grey", GUID_WICPixelFormat8bppGray, {0, 200}, 2, {}, 0xFF000000, 0xFFC8C8C8, true},
        {"palette with a translucent colour",
         GUID_WICPixelFormat8bppIndexed,
         {1, 0},
         2,
         {0xFF102030, 0x80FF6432},
         0x80803219,
         0xFF102030,
         false},
    };
    ImageDecoder decoder;
    TempDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.file(L"case.png");
        if (!writePng(path, c.format, c.row, c.stride, c.palette)) {
            ADD_FAILURE() << "the platform cannot write this PNG";
            continue;
        }
        UiImage image;
        ASSERT_TRUE(decoder.Decode(path, image));
        const UniqueGdiObject owned(image.bitmap);
        ASSERT_EQ(image.width, 2);
        ASSERT_EQ(image.height, 1);
        const std::vector<std::uint32_t> pixels = pixelsOf(image);
        EXPECT_EQ(pixels[0], c.first) << std::hex << pixels[0];
        EXPECT_EQ(pixels[1], c.second) << std::hex << pixels[1];
        EXPECT_EQ(image.opaque, c.opaque);
        ::DeleteFileW(path.c_str());
    }
}

TEST(ImageDecoder, WhatIsNoImageLeavesTheImageAlone) {
    struct Case {
        const char* name;
        std::string bytes;  // written as the file; nothing written when null
        bool write;
    };
    const Case cases[] = {
        {"missing", "", false},
        {"empty", "", true},
        {"text", "not an image", true},
        {"a PNG signature and nothing else", std::string("\x89PNG\r\n\x1A\n", 8), true},
        {"a JPEG cut after its start", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10), true},
    };
    ImageDecoder decoder;
    TempDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.file(L"bad.png");
        ::DeleteFileW(path.c_str());
        if (c.write) {
            writeFileBytes(path, c.bytes);
        }
        UiImage image;
        image.width = 7;
        EXPECT_FALSE(decoder.Decode(path, image));
        EXPECT_EQ(image.bitmap, nullptr);
        EXPECT_EQ(image.width, 7);
        ::DeleteFileW(path.c_str());
    }
}

}  // namespace
