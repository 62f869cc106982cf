#include "update/list_path_rules.h"

namespace {

// Windows drops trailing dots and blanks of a path component, so ". ." and "..." reach the
// file system as "..": a component of dots and blanks only, with two dots or more, is refused.
bool isParentComponent(std::wstring_view component) {
    std::size_t dots = 0;
    for (wchar_t c : component) {
        if (c == L'.') {
            ++dots;
        } else if (c != L' ') {
            return false;
        }
    }
    return dots >= 2;
}

bool hasParentComponent(std::wstring_view path) {
    while (true) {
        const std::size_t cut = path.find_first_of(L"\\/");
        if (isParentComponent(path.substr(0, cut))) {
            return true;
        }
        if (cut == std::wstring_view::npos) {
            return false;
        }
        path.remove_prefix(cut + 1);
    }
}

}  // namespace

bool isAcceptableItem(const PatchListItem& item) {
    if (item.listPath.size() > kMaxEntryPathLength || item.fileName.size() > kMaxEntryPathLength ||
        item.directory.size() > kMaxEntryPathLength) {
        return false;
    }
    if (item.listPath.find(L':') != std::wstring::npos) {
        return false;
    }
    return !hasParentComponent(item.listPath);
}
