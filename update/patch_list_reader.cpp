#include "update/patch_list_reader.h"

#include <windows.h>

#include "common/text_codec.h"
#include "common/unique_handle.h"
#include "update/local_path.h"

bool PatchListReader::open(const std::wstring& path) {
    close();
    UniqueFileHandle file(::CreateFileW(extendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return false;
    }
    // The list is read whole: it is small, and a read error then refuses the whole list
    // instead of leaving a silently shortened one. A larger file is no list of ours.
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > kMaxPatchListBytes) {
        return false;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(text.size() - done);
        if (!::ReadFile(file.get(), text.data() + done, want, &got, nullptr)) {
            return false;
        }
        if (got == 0) {
            break;  // the file shrank while being read
        }
        done += got;
    }
    text.resize(done);
    text_ = std::move(text);
    lines_.emplace(text_);
    return true;
}

std::wstring PatchListReader::readVersion() {
    return lines_ ? readVersionSection(*lines_) : std::wstring();
}

void PatchListReader::readItems() {
    if (!lines_) {
        return;
    }
    // The list's code page, whatever the player's system uses.
    const LineDecoder decode = [](std::string_view line) { return decodeBytes(line, kListCodePage); };
    std::vector<PatchListItem> items;
    readItemSection(*lines_, decode, items);
    for (PatchListItem& item : items) {
        item.index = count_++;
        items_.push_back(std::move(item));
    }
}

bool PatchListReader::nextItem(std::wstring& kind, std::wstring& sizeText, std::wstring& md5, std::wstring& listPath,
                               std::wstring& fileName, std::wstring& directory) {
    if (items_.empty()) {
        return false;
    }
    if (cursor_ >= count_) {
        cursor_ = 0;
        return false;
    }
    // Items are stored in index order, so the item whose index is the cursor is at that position.
    const PatchListItem& item = items_[static_cast<std::size_t>(cursor_)];
    kind = item.kind;
    sizeText = item.sizeText;
    md5 = item.md5;
    listPath = item.listPath;
    fileName = item.fileName;
    directory = item.directory;
    ++cursor_;
    return true;
}

void PatchListReader::close() {
    lines_.reset();
    text_.clear();
}
