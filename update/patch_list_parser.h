#pragma once
// The version file's text: lines, the "[VERSION]" section and the "[PatchList]" items.
// Works on the file's bytes; the code page of item lines is the caller's decoder.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "update/patch_list_item.h"

// The largest version file the launcher reads: far beyond any installation's list (a list of
// a hundred thousand files is about 12 MiB), and small enough to hold whole in a 32-bit process.
inline constexpr std::size_t kMaxPatchListBytes = 64u << 20;

// The largest signature file of a version file the launcher reads (a DER P-256 signature has
// at most 72 bytes).
inline constexpr std::size_t kMaxListSignatureBytes = 4096;

// The code page of the list's item lines and of download URLs, whatever the player's system
// uses: Chinese names written in another one would be garbled.
inline constexpr unsigned kListCodePage = 936;

class ListLineCursor {
public:
    explicit ListLineCursor(std::string_view text) noexcept : rest_(text) {}
    // The next line without its LF and the CR before it; false only at the end of the text.
    // The last line is read without a terminating LF too; an empty line is a line.
    bool next(std::string_view& line) noexcept;

private:
    std::string_view rest_;
};

using LineDecoder = std::function<std::wstring(std::string_view)>;

// Skips lines up to one that is exactly "[VERSION]" and returns the line after it, each byte
// widened to one character; the empty text when the file ends first.
std::wstring readVersionSection(ListLineCursor& lines);

// From the current line on, skips up to a line that is exactly "[PatchList]" and appends one
// item per further line, decoded with decode, with index = the number of items before it.
void readItemSection(ListLineCursor& lines, const LineDecoder& decode, std::vector<PatchListItem>& items);
