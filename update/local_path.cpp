#include "update/local_path.h"

#include <vector>

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The names of path, in order, with empty and "." names dropped and ".." taken back.
std::vector<std::wstring_view> normalNames(std::wstring_view path) {
    std::vector<std::wstring_view> names;
    while (!path.empty()) {
        std::size_t cut = 0;
        while (cut < path.size() && !isSeparator(path[cut])) {
            ++cut;
        }
        const std::wstring_view name = path.substr(0, cut);
        if (name == L"..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
        path.remove_prefix(cut < path.size() ? cut + 1 : cut);
    }
    return names;
}

}  // namespace

std::wstring entryLocalPath(std::wstring_view root, const UpdateFileEntry& entry) {
    std::wstring path(root);
    path.append(fixedTextView(entry.directory));
    path.push_back(L'\\');
    path.append(fixedTextView(entry.fileName));
    return path;
}

std::wstring extendedLengthPath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) {
        return std::wstring(path);
    }
    std::wstring extended;
    std::wstring_view rest;
    if (path.size() >= 3 && isDriveLetter(path[0]) && path[1] == L':' && isSeparator(path[2])) {
        extended = L"\\\\?\\";
        extended.append(path.substr(0, 2));
        rest = path.substr(3);
    } else if (path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2])) {
        extended = L"\\\\?\\UNC";
        rest = path.substr(2);
    } else {
        return std::wstring(path);
    }
    const std::vector<std::wstring_view> names = normalNames(rest);
    if (names.empty()) {
        extended.push_back(L'\\');
        return extended;
    }
    for (std::wstring_view name : names) {
        extended.push_back(L'\\');
        extended.append(name);
    }
    if (isSeparator(path.back())) {
        extended.push_back(L'\\');
    }
    return extended;
}
