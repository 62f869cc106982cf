#pragma once
// Decoded images cached by path, for the thread that paints one window. Images the window is
// going to need can be handed over beforehand: a thread of the cache's own decodes them while
// the window is still being made, the first asked for first, and the painting thread takes
// each when it needs it (waiting only for the one being decoded at that moment, decoding what
// has not been started itself).
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "uilib/gdi_handles.h"
#include "uilib/image_decoder.h"
#include "uilib/render.h"

class ImageCache {
public:
    ImageCache() = default;
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The decoded image of a full path; null when it cannot be read. Failures are cached too.
    const UiImage* Get(const std::wstring& path);
    // Queues a full path for decoding ahead of Get: soon ones before the others, each group in
    // the order given. A path already known or queued is left as it is, but for one queued for
    // later that is now wanted soon.
    void Prefetch(const std::wstring& path, bool soon);
    // The ones not needed soon wait for this (the window's first frame is out): until then the
    // thread leaves the processor to the window.
    void StartLaterImages();
    std::size_t Size() const { return images_.size(); }

private:
    struct Entry {
        UniqueGdiObject bitmap;
        UiImage image;
    };
    using Decoded = std::unique_ptr<Entry>;  // null: not an image
    // The ahead-of-time decoding, shared with its thread.
    struct Ahead {
        std::mutex lock;
        std::condition_variable changed;
        std::deque<std::wstring> soon;
        std::deque<std::wstring> later;
        std::wstring decoding;  // empty when idle
        std::map<std::wstring, Decoded> decoded;
        bool stop = false;
        bool laterMayStart = false;
    };
    static void DecodeAhead(Ahead& ahead);
    // What the thread has (or is about to have) for path; false when it was never given it or
    // it was still waiting, in which case it is taken back.
    bool TakeFromAhead(const std::wstring& path, Decoded& entry);
    static Decoded Decode(ImageDecoder& decoder, const std::wstring& path);

    std::map<std::wstring, Decoded> images_;
    std::optional<ImageDecoder> decoder_;  // made by the first Get, on the painting thread
    Ahead ahead_;
    std::thread aheadThread_;
};

// Decodes one file; the bitmap is the caller's. False when the file is missing or not an image.
bool decodeImageFile(const std::wstring& path, UiImage& image);
