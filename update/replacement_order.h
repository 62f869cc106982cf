#pragma once
// The order in which a queue's downloads are put in place.
#include <cstddef>
#include <string_view>
#include <vector>

#include "update/update_file_entry.h"

// True for "data\Server.inf" and "data\Launch.inf" (in any letter case; directory as an
// entry has it, "\data"): they hold the installed version and patch level, which decide at
// the next start whether the files are checked again.
bool isInstalledVersionFile(std::wstring_view directory, std::wstring_view fileName) noexcept;
bool isInstalledVersionFile(const UpdateFileEntry& entry) noexcept;

// The positions of the queue's entries in the order they are put in place: list order, with
// the installed version files after every other file, so that a run stopped at any point
// leaves the old version in them and the next start checks every file again.
std::vector<std::size_t> replacementOrder(const UpdateQueue& queue);
