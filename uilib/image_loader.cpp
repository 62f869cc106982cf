#include "uilib/image_loader.h"

bool decodeImageFile(const std::wstring& path, UiImage& image) {
    ImageDecoder decoder;
    return decoder.Decode(path, image);
}

const UiImage* ImageCache::Get(const std::wstring& path) {
    auto it = images_.find(path);
    if (it == images_.end()) {
        if (!decoder_) {
            decoder_.emplace();
        }
        auto entry = std::make_unique<Entry>();
        if (decoder_->Decode(path, entry->image)) {
            entry->bitmap.reset(entry->image.bitmap);
        } else {
            entry.reset();
        }
        it = images_.emplace(path, std::move(entry)).first;
    }
    return it->second ? &it->second->image : nullptr;
}
