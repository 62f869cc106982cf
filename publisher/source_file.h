#pragma once
// Reading a release's files as they were checked. The scan records which file each one is;
// the copy opens it without following a link at the end of its path and goes on only when it
// is still that file, so that a file swapped for a link (to a key outside the release, say)
// after the check is not published.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// Which file a path reaches: its device (volume) and its number there.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct StdFileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using UniqueStdFile = std::unique_ptr<std::FILE, StdFileCloser>;

// The identity of the regular file path reaches, links followed; nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path);

// path opened for reading when it names, without a link at its end, the regular file of this
// identity; nothing, with error saying why, otherwise.
UniqueStdFile openCheckedFile(const std::filesystem::path& path, const FileIdentity& identity, std::string& error);
