#include "uilib/image_decoder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/whole_file.h"
#include "uilib/gdi_handles.h"

namespace {

// Skin images are small; anything larger is refused before it is read or decoded (the address
// space of a 32-bit process is the limit that matters).
constexpr std::size_t kMaxFileBytes = 32u << 20;
constexpr std::uint64_t kMaxPixels = 16ULL << 20;

}  // namespace

ImageDecoder::ImageDecoder() {
    // Any apartment will do; a thread that has none gets one for as long as the decoder lives.
    comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ImageDecoder::~ImageDecoder() {
    jpegDecoders_.reset();
    pngDecoders_.reset();
    factory_.reset();
    if (comStarted_) {
        ::CoUninitialize();
    }
}

bool ImageDecoder::Start() {
    if (!factory_ && !startFailed_) {
        startFailed_ = FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                                 IID_IWICImagingFactory, factory_.putVoid()));
    }
    return static_cast<bool>(factory_);
}

ComPtr<IWICBitmapDecoder> ImageDecoder::DecoderFor(IStream* stream, ImageFormat format) {
    // The two formats of skins go straight to their decoders; the factory would look every
    // decoder up in the registry for each file to find the one that takes it.
    ComPtr<IClassFactory>* decoders = format == ImageFormat::Png    ? &pngDecoders_
                                      : format == ImageFormat::Jpeg ? &jpegDecoders_
                                                                    : nullptr;
    if (decoders != nullptr) {
        if (!*decoders) {
            const CLSID& id = format == ImageFormat::Png ? CLSID_WICPngDecoder : CLSID_WICJpegDecoder;
            (void)::CoGetClassObject(id, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, decoders->putVoid());
        }
        ComPtr<IWICBitmapDecoder> decoder;
        if (*decoders && SUCCEEDED((*decoders)->CreateInstance(nullptr, IID_IWICBitmapDecoder, decoder.putVoid())) &&
            SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand))) {
            return decoder;
        }
        LARGE_INTEGER start{};
        (void)stream->Seek(start, STREAM_SEEK_SET, nullptr);
    }
    ComPtr<IWICBitmapDecoder> decoder;
    (void)factory_->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
    return decoder;
}

bool ImageDecoder::Decode(const std::wstring& path, UiImage& image) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxFileBytes);
    if (!bytes || bytes->empty() || !Start()) {
        return false;
    }
    ComPtr<IWICStream> stream;
    if (FAILED(factory_->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes->data())),
                                            static_cast<DWORD>(bytes->size())))) {
        return false;
    }
    const auto* head = reinterpret_cast<const std::uint8_t*>(bytes->data());
    const ComPtr<IWICBitmapDecoder> decoder = DecoderFor(stream.get(), sniffImageFormat({head, bytes->size()}));
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    if (!decoder || FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format))) {
        return false;
    }
    const std::uint64_t pixels = std::uint64_t{width} * height;
    if (pixels == 0 || pixels > kMaxPixels) {
        return false;
    }
    void* bits = nullptr;
    UniqueGdiObject bitmap = createPixelBitmap(static_cast<int>(width), static_cast<int>(height), bits);
    if (!bitmap) {
        return false;
    }
    const UINT stride = width * 4;
    const UINT size = stride * height;
    auto* const target = static_cast<BYTE*>(bits);
    bool copied = false;
    bool opaque = false;
    if (IsEqualGUID(format, GUID_WICPixelFormat32bppPBGRA)) {
        copied = SUCCEEDED(frame->CopyPixels(nullptr, stride, size, target));
        opaque = allOpaque(target, pixels);
    } else if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) {
        copied = SUCCEEDED(frame->CopyPixels(nullptr, stride, size, target));
        opaque = premultiplyBgra(target, pixels);
    } else if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        std::vector<std::uint8_t> narrow(static_cast<std::size_t>(pixels) * 3);
        copied = SUCCEEDED(frame->CopyPixels(nullptr, width * 3, static_cast<UINT>(narrow.size()), narrow.data()));
        widenBgr(narrow.data(), target, pixels);
        opaque = true;
    } else {
        // Palettes, grey levels, 16 bits a channel: the platform converts to straight BGRA.
        ComPtr<IWICFormatConverter> converter;
        copied = SUCCEEDED(factory_->CreateFormatConverter(converter.put())) &&
                 SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                                 nullptr, 0.0, WICBitmapPaletteTypeCustom)) &&
                 SUCCEEDED(converter->CopyPixels(nullptr, stride, size, target));
        opaque = premultiplyBgra(target, pixels);
    }
    if (!copied) {
        return false;
    }
    image.bitmap = static_cast<HBITMAP>(bitmap.release());
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.opaque = opaque;
    return true;
}
