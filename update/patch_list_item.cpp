#include "update/patch_list_item.h"

namespace {

constexpr std::wstring_view kDroppedFolder = L"Test_mainfold";

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

}  // namespace

void splitListPath(std::wstring_view listPath, std::wstring& fileName, std::wstring& directory) {
    fileName.clear();
    directory.clear();
    const std::size_t last = listPath.rfind(L'\\');
    if (last == std::wstring_view::npos) {
        fileName.assign(listPath);
        return;
    }
    fileName.assign(listPath.substr(last + 1));
    std::wstring_view folders = listPath.substr(0, last);
    while (!folders.empty()) {
        const std::size_t cut = folders.find(L'\\');
        const std::wstring_view component = folders.substr(0, cut);
        if (!component.empty() && component != kDroppedFolder) {
            directory.push_back(L'\\');
            directory.append(component);
        }
        if (cut == std::wstring_view::npos) {
            break;
        }
        folders.remove_prefix(cut + 1);
    }
}

PatchListItem parseItemLine(std::wstring_view line, int index) {
    PatchListItem item;
    item.index = index;
    int field = 0;
    while (!line.empty()) {
        const std::size_t cut = line.find(L',');
        const std::wstring_view text = line.substr(0, cut);
        if (!text.empty()) {
            ++field;
            switch (field) {
                case 1:
                    item.kind.assign(text);
                    break;
                case 2:
                    item.listPath.assign(text);
                    break;
                case 3:
                    item.sizeText.assign(text);
                    break;
                default:
                    item.md5.assign(text);
                    break;
            }
        }
        if (cut == std::wstring_view::npos) {
            break;
        }
        line.remove_prefix(cut + 1);
    }
    splitListPath(item.listPath, item.fileName, item.directory);
    return item;
}

std::uint32_t readSizeText(std::wstring_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - L'0');
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow) {
        return 0xFFFFFFFFu;
    }
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}
