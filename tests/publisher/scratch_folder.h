#pragma once
// A scratch folder for one publisher test, on every build (the Windows helpers of
// tests/support need windows.h), removed with everything in it when the test ends.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    // path() / relative, relative in UTF-8 with "/" separators.
    std::filesystem::path operator/(std::u8string_view relative) const { return path_ / relative; }

private:
    std::filesystem::path path_;
};

// Writes bytes into a file (created or truncated), creating its folders.
void writeBytes(const std::filesystem::path& path, std::string_view bytes);
// The whole content of a file; empty when it cannot be read.
std::string readBytes(const std::filesystem::path& path);
// Every file and link below folder by relative path, with its content or link target:
// equal snapshots mean that nothing was written in between.
std::map<std::string, std::string> snapshotTree(const std::filesystem::path& folder);
// Bytes 0, 1, ..., 250, 0, 1, ... of the given length.
std::string patternBytes(std::size_t size);
