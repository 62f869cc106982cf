#pragma once
// Reads the downloaded version file for one check: open, readVersion, readItems, then
// nextItem itemCount times, then close.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "update/patch_list_item.h"
#include "update/patch_list_parser.h"

class PatchListReader {
public:
    PatchListReader() = default;
    PatchListReader(const PatchListReader&) = delete;
    PatchListReader& operator=(const PatchListReader&) = delete;

    // False when the file cannot be opened or read.
    [[nodiscard]] bool open(const std::wstring& path);
    // The line after "[VERSION]", without code-page conversion; empty when there is none.
    std::wstring readVersion();
    // Appends one item per line of the "[PatchList]" section; item lines are decoded with
    // code page 936, so Chinese file names come out as proper characters on every system.
    void readItems();
    std::int32_t itemCount() const noexcept { return count_; }
    // Hands out the item at the cursor and advances it. When the list is empty, or the cursor
    // has reached the count, assigns nothing and returns false; in the second case the cursor
    // goes back to 0.
    bool nextItem(std::wstring& kind, std::wstring& sizeText, std::wstring& md5, std::wstring& listPath,
                  std::wstring& fileName, std::wstring& directory);
    // The parsed items in file order.
    const std::vector<PatchListItem>& items() const noexcept { return items_; }
    void close();

private:
    std::string text_;
    std::optional<ListLineCursor> lines_;
    std::vector<PatchListItem> items_;
    std::int32_t count_ = 0;
    std::int32_t cursor_ = 0;
};
