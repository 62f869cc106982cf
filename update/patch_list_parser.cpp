#include "update/patch_list_parser.h"

bool ListLineCursor::next(std::string_view& line) noexcept {
    if (rest_.empty()) {
        return false;
    }
    const std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) {
        line = rest_;
        rest_ = {};
    } else {
        line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return true;
}

std::wstring readVersionSection(ListLineCursor& lines) {
    std::string_view line;
    while (lines.next(line)) {
        if (line == kVersionSection) {
            if (!lines.next(line)) {
                return {};
            }
            std::wstring version;
            for (char c : line) {
                version.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
            }
            return version;
        }
    }
    return {};
}

void readItemSection(ListLineCursor& lines, const LineDecoder& decode, std::vector<PatchListItem>& items) {
    std::string_view line;
    bool inSection = false;
    while (lines.next(line)) {
        if (!inSection) {
            inSection = line == kPatchListSection;
            continue;
        }
        items.push_back(parseItemLine(decode(line), static_cast<int>(items.size())));
    }
}
