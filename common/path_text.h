#pragma once
#include <string>
#include <string_view>

// The folder of a full path, ending with its "\": the path cut right after its last "\".
// The first character is never taken for a folder's end; a path without a "\" after it is
// returned whole.
inline std::wstring folderOfPath(std::wstring_view path) {
    const std::size_t cut = path.size() > 1 ? path.find_last_of(L'\\') : std::wstring_view::npos;
    if (cut == std::wstring_view::npos || cut == 0) {
        return std::wstring(path);
    }
    return std::wstring(path.substr(0, cut + 1));
}
