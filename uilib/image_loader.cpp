#include "uilib/image_loader.h"

#include <algorithm>
#include <system_error>

bool decodeImageFile(const std::wstring& path, UiImage& image) {
    ImageDecoder decoder;
    return decoder.Decode(path, image);
}

ImageCache::~ImageCache() {
    if (aheadThread_.joinable()) {
        {
            const std::lock_guard<std::mutex> guard(ahead_.lock);
            ahead_.stop = true;
        }
        ahead_.changed.notify_all();
        aheadThread_.join();
    }
}

ImageCache::Decoded ImageCache::Decode(ImageDecoder& decoder, const std::wstring& path) {
    auto entry = std::make_unique<Entry>();
    if (!decoder.Decode(path, entry->image)) {
        return nullptr;
    }
    entry->bitmap.reset(entry->image.bitmap);
    return entry;
}

void ImageCache::DecodeAhead(Ahead& ahead) {
    ImageDecoder decoder;
    std::unique_lock<std::mutex> guard(ahead.lock);
    for (;;) {
        ahead.changed.wait(
            guard, [&] { return ahead.stop || !ahead.soon.empty() || (ahead.laterMayStart && !ahead.later.empty()); });
        if (ahead.stop) {
            return;
        }
        std::deque<std::wstring>& queue = !ahead.soon.empty() ? ahead.soon : ahead.later;
        ahead.decoding = std::move(queue.front());
        queue.pop_front();
        guard.unlock();
        Decoded entry = Decode(decoder, ahead.decoding);
        guard.lock();
        ahead.decoded.emplace(std::move(ahead.decoding), std::move(entry));
        ahead.decoding.clear();
        ahead.changed.notify_all();
    }
}

void ImageCache::StartLaterImages() {
    {
        const std::lock_guard<std::mutex> guard(ahead_.lock);
        ahead_.laterMayStart = true;
    }
    ahead_.changed.notify_all();
}

void ImageCache::Prefetch(const std::wstring& path, bool soon) {
    if (images_.count(path) != 0) {
        return;
    }
    {
        const std::lock_guard<std::mutex> guard(ahead_.lock);
        const auto queued = [&](const std::deque<std::wstring>& queue) {
            return std::find(queue.begin(), queue.end(), path) != queue.end();
        };
        if (ahead_.decoding == path || ahead_.decoded.count(path) != 0 || queued(ahead_.soon)) {
            return;
        }
        const auto later = std::find(ahead_.later.begin(), ahead_.later.end(), path);
        if (later != ahead_.later.end()) {
            if (!soon) {
                return;
            }
            ahead_.later.erase(later);  // needed sooner than first thought
        }
        (soon ? ahead_.soon : ahead_.later).push_back(path);
    }
    if (!aheadThread_.joinable()) {
        try {
            aheadThread_ = std::thread(&ImageCache::DecodeAhead, std::ref(ahead_));
        } catch (const std::system_error&) {
            // No thread: Get decodes everything itself.
        }
    }
    ahead_.changed.notify_all();
}

bool ImageCache::TakeFromAhead(const std::wstring& path, Decoded& entry) {
    std::unique_lock<std::mutex> guard(ahead_.lock);
    for (std::deque<std::wstring>* queue : {&ahead_.soon, &ahead_.later}) {
        const auto waiting = std::find(queue->begin(), queue->end(), path);
        if (waiting != queue->end()) {
            queue->erase(waiting);
            return false;
        }
    }
    ahead_.changed.wait(guard, [&] { return ahead_.decoding != path; });
    const auto done = ahead_.decoded.find(path);
    if (done == ahead_.decoded.end()) {
        return false;
    }
    entry = std::move(done->second);
    ahead_.decoded.erase(done);
    return true;
}

const UiImage* ImageCache::Get(const std::wstring& path) {
    auto it = images_.find(path);
    if (it == images_.end()) {
        Decoded entry;
        if (!TakeFromAhead(path, entry)) {
            if (!decoder_) {
                decoder_.emplace();
            }
            entry = Decode(*decoder_, path);
        }
        it = images_.emplace(path, std::move(entry)).first;
    }
    return it->second ? &it->second->image : nullptr;
}
