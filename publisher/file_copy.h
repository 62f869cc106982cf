#pragma once
// Copying files into a release while digesting exactly the bytes written.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "identity/md5.h"
#include "publisher/source_file.h"

struct CopiedFile {
    std::uint64_t size = 0;
    Md5Digest digest{};
};

enum class CopyResult { Copied, Stopped, Failed };

// Called with the bytes of the file copied so far; false stops the copy.
using CopyProgress = std::function<bool(std::uint64_t)>;

// Copies from, when it is still the file of identity (see source_file.h), into the new file
// to, digesting the bytes as they are written, so that the list states what the server serves
// even when the source changes meanwhile. On Failed, error says why; on Failed and Stopped,
// copied is untouched and to may hold a part.
[[nodiscard]] CopyResult copyWithDigest(const std::filesystem::path& from, const FileIdentity& identity,
                                        const std::filesystem::path& to, const CopyProgress& progress,
                                        CopiedFile& copied, std::string& error);

// Writes bytes into the new file to; false with error when it cannot.
[[nodiscard]] bool writeNewFile(const std::filesystem::path& to, std::string_view bytes, std::string& error);

// Puts everything written below folder on disk before the release is switched, so that a
// machine that stops at the wrong moment cannot come back serving a list whose files are lost.
[[nodiscard]] bool syncToDisk(const std::filesystem::path& folder, std::string& error);
