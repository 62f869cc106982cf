#pragma once
// One installation file or patch package to fetch, and the queues of them.
#include <cstdint>
#include <string>
#include <vector>

#include "common/fixed_text.h"
#include "update/patch_list_item.h"

struct UpdateFileEntry {
    wchar_t directory[260] = {};
    wchar_t fileName[260] = {};
    std::wstring md5;  // the expected digest
    wchar_t listPath[260] = {};
    std::uint32_t size = 0;
    std::wstring kind;  // "File", or the patch's version number
};

// Ordered; appended in list order, worked through from the front.
using UpdateQueue = std::vector<UpdateFileEntry>;

inline UpdateFileEntry makeEntry(const PatchListItem& item) {
    UpdateFileEntry entry;
    copyFixedText(entry.directory, item.directory);
    copyFixedText(entry.fileName, item.fileName);
    entry.md5 = item.md5;
    copyFixedText(entry.listPath, item.listPath);
    entry.size = readSizeText(item.sizeText);
    entry.kind = item.kind;
    return entry;
}
