#pragma once
// A scratch folder for one test, removed with everything in it when the test ends.
#include <string>
#include <string_view>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in "\".
    const std::wstring& path() const { return path_; }
    // path() + relative, with the folders on the way created.
    std::wstring file(std::wstring_view relative) const;

private:
    std::wstring path_;
};

// Writes bytes to a file (created or truncated), creating its folders.
void writeFileBytes(const std::wstring& path, std::string_view bytes);
// The whole content of a file; empty when it cannot be read.
std::string readFileBytes(const std::wstring& path);
bool fileExists(const std::wstring& path);
// Removes a folder tree.
void removeTree(const std::wstring& path);
