#pragma once
// Which list items the launcher may act on at all. The publisher applies the same name rules
// before it writes a list, so that it never publishes what the launcher refuses.
#include <cstddef>
#include <string_view>

#include "update/patch_list_item.h"

// Longest path text an entry can hold (its fields have room for 260 units with the NUL).
inline constexpr std::size_t kMaxEntryPathLength = 259;

// The launcher's own files beside the installation's: a download in progress is the file's
// name + kDownloadSuffix; a running program replaced by its update is renamed to its name +
// kAsideSuffix until it can be deleted; what a resumed download must match is kept in its name +
// kValidatorSuffix. Every name holding kOwnNameMark is the launcher's.
inline constexpr std::wstring_view kDownloadSuffix = L".rkx";
inline constexpr std::wstring_view kValidatorSuffix = L".rkx-tag";
inline constexpr std::wstring_view kAsideSuffix = L".rkx-old";
inline constexpr std::wstring_view kOwnNameMark = L".rkx";
// The downloaded list and its signature, at the top of the installation.
inline constexpr std::wstring_view kPatchListName = L"patchlist.dat";
inline constexpr std::wstring_view kPatchListSignatureName = L"patchlist.dat.sig";

enum class NameFault {
    None,
    Empty,               // no name at all
    ControlCharacter,    // below U+0020; a NUL cuts the name short where the file functions read it
    NotInWindowsNames,   // one of < > : " / \ | ? *
    DotsOnly,            // dots and blanks only: "." and ".." are steps in the folder tree
    TrailingDotOrBlank,  // Windows drops them, so the name would reach another file
    DeviceName,          // CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$ with any extension
    LauncherName,        // holds ".rkx": a name of the launcher's own downloads and aside files
};

// True for the characters Windows file names cannot hold: control characters and < > : " / \ | ? *
bool isNotInWindowsNames(wchar_t c) noexcept;

// What is wrong with one name (of a folder or a file) for it to name a plain file or folder
// inside the installation; None when nothing is.
NameFault nameFault(std::wstring_view name) noexcept;

// True for the names of devices, whatever their extension and letter case.
bool isDeviceName(std::wstring_view name) noexcept;

// An item line without content (every field empty, or a kind of blanks only and nothing
// else): it names nothing and is passed over.
bool isBlankItem(const PatchListItem& item) noexcept;

enum class ItemFault {
    None,
    TooLong,           // a directory, file name or list path longer than an entry holds
    ControlCharacter,  // in any field
    BadName,           // a name of the list path that is not a plain name, or no file name
    ListFileName,      // the launcher's own list or its signature, at the top of the installation
};

// What makes the launcher refuse the whole list for this item: a control character in any
// field; a list path whose names (split at "\", empty ones between separators skipped) are not
// all plain names (nameFault), or without a file name; the launcher's own list files at the
// top of the installation; a directory, file name or list path longer than an entry holds.
ItemFault itemFault(const PatchListItem& item);

// An item the launcher may act on: a plain file inside the installation.
inline bool isAcceptableItem(const PatchListItem& item) {
    return itemFault(item) == ItemFault::None;
}
