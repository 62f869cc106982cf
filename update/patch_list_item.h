#pragma once
// One item line of the version file after parsing. No Windows services needed.
#include <cstdint>
#include <string>
#include <string_view>

struct PatchListItem {
    int index = 0;
    std::wstring kind;      // "File" for an installation file, else the patch's version number
    std::wstring listPath;  // path as published, components separated by "\"
    std::wstring sizeText;
    std::wstring md5;
    std::wstring fileName;   // listPath after its last "\"
    std::wstring directory;  // "\" + each folder component, without "Test_mainfold" and empty ones
};

// The section lines, matched against whole lines, case-sensitively.
inline constexpr std::string_view kVersionSection = "[VERSION]";
inline constexpr std::string_view kPatchListSection = "[PatchList]";
// The kind of an installation file's item.
inline constexpr std::wstring_view kFileKind = L"File";

// Splits an item line at "," (runs of commas count as one separator, commas at either end are
// ignored; the fourth and every later field land in md5) and derives fileName and directory.
PatchListItem parseItemLine(std::wstring_view line, int index);

// fileName and directory of a list path.
void splitListPath(std::wstring_view listPath, std::wstring& fileName, std::wstring& directory);

// A size field read as an unsigned 32-bit decimal: optional leading blanks and sign, then
// digits up to the first non-digit; no digits give 0, values past 32 bits give 0xFFFFFFFF.
std::uint32_t readSizeText(std::wstring_view text) noexcept;
