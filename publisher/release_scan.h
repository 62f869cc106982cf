#pragma once
// The files of a release folder: the installation as it should be.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "publisher/refusal.h"
#include "publisher/source_file.h"

struct ReleaseFile {
    std::filesystem::path source;          // where it is read from: the file itself, not a link to it
    FileIdentity identity;                 // the file that was checked
    std::filesystem::path relative;        // below the release folder
    std::vector<std::wstring> components;  // its folders' names, then its own
    std::uint64_t size = 0;                // when scanned
};

// Every file below releaseFolder, in no particular order. Links to files inside the release
// count as the files they point at; a link that leads out of the release (which would publish
// whatever it points at), a link to a folder, a missing link target, a device or a pipe is
// refused, and so is a name that is no text. Empty folders give nothing: the list carries
// files only.
void scanRelease(const std::filesystem::path& releaseFolder, std::vector<ReleaseFile>& files,
                 std::vector<Refusal>& refusals);

// A path for messages, in UTF-8 with "/" separators; bytes that are no UTF-8 are shown as \xNN.
std::string displayPath(const std::filesystem::path& path);

// Whether path lies in folder or is folder, both made absolute and their links and "." and
// ".." resolved as far as they exist.
bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder);
