#pragma once
// The bytes of the version file as the launcher reads it: "[VERSION]", the version,
// "[PatchList]", then one item line per file and patch package, every line ending in CR LF.
#include <cstdint>
#include <string>
#include <vector>

#include "identity/md5.h"

struct ListedItem {
    std::string kind;      // "File", or the package's version: ASCII
    std::string listPath;  // code page 936 bytes, components separated by "\"
    std::uint64_t size = 0;
    Md5Digest digest{};
};

// version: ASCII, written as it stands (the launcher takes that line byte by byte).
std::string patchListText(const std::string& version, const std::vector<ListedItem>& items);
