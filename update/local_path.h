#pragma once
// Local paths of the installation's files, as the file functions get them.
#include <string>
#include <string_view>

#include "update/update_file_entry.h"

// Where an entry's file lies below root (a folder ending in "\"): root + directory + "\" +
// fileName, joined as they stand (a non-empty directory begins with "\", so the join holds a
// doubled separator, which the file functions accept).
std::wstring entryLocalPath(std::wstring_view root, const UpdateFileEntry& entry);

// The "\\?\" form of an absolute path (a drive path, or "\\server\share\..." as "\\?\UNC\..."),
// which the file functions take beyond MAX_PATH: "/" turned into "\", empty and "." names
// dropped, ".." taken back (never above the root), a final "\" kept. That form is passed to
// the file system as it stands, so it must be free of what the usual form cleans up. Relative
// paths and paths already in a "\\?\" or "\\.\" form come back unchanged.
std::wstring extendedLengthPath(std::wstring_view path);
