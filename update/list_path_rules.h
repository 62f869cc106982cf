#pragma once
// Which list items the launcher may act on at all.
#include <cstddef>

#include "update/patch_list_item.h"

// Longest path text an entry can hold (its fields have room for 260 units with the NUL).
inline constexpr std::size_t kMaxEntryPathLength = 259;

// False for an item whose list path would place a file outside the installation: a ".."-like
// component (components split at "\" and at "/", which Windows takes as a separator too) or
// a colon (a drive or a stream name); and for one whose directory, file name or list path is
// longer than an entry can hold.
bool isAcceptableItem(const PatchListItem& item);
