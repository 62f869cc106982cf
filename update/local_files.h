#pragma once
// The update's operations on the installation's files, for paths of any length: folders on
// the way to a file, deletion, and putting a verified download in place.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Creates the folders on the way to a file (never the file's own name as a folder).
void createParentDirectories(const std::wstring& path);

// Deletes a file, clearing its read-only attribute first; false when it is still there.
bool deleteFileEvenReadOnly(const std::wstring& path);

// The length of a file; nothing when it is missing or cannot be opened.
std::optional<std::uint64_t> fileLength(const std::wstring& path);

// The bytes of a file of at most maxBytes; nothing when it is larger or cannot be read whole.
std::optional<std::string> readSmallFile(const std::wstring& path, std::size_t maxBytes);

// Makes the download durable and puts it in place of target in one step, so that neither a
// crash nor a power cut leaves the installation without the file. A target that is a running
// program (Windows lets it be renamed but not replaced) is renamed aside in its own folder
// first and recorded in the installation, whose next update run deletes it. False when the
// target cannot be replaced (held open by another program, say): the old file then stays in
// place and the download is left for the caller.
[[nodiscard]] bool putInPlace(const std::wstring& download, const std::wstring& target,
                              const std::wstring& installation);

// Deletes the programs that earlier runs renamed aside, as far as they are no longer running
// (the others stay recorded for a later run). One whose file is missing (a power cut between
// the two renames) is put back in its place instead.
void removeAsideFiles(const std::wstring& installation);
