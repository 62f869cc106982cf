#include "tests/support/temp_dir.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "common/unique_handle.h"

namespace {

void createFolders(const std::wstring& filePath) {
    for (std::size_t i = 3; i < filePath.size(); ++i) {
        if (filePath[i] == L'\\' || filePath[i] == L'/') {
            ::CreateDirectoryW(filePath.substr(0, i).c_str(), nullptr);
        }
    }
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wstring candidate = std::wstring(base) + L"lobbex-test-" + std::to_wstring(::GetCurrentProcessId()) +
                                 L"-" + std::to_wstring(counter++);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate + L"\\";
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    removeTree(path_);
}

std::wstring TempDir::file(std::wstring_view relative) const {
    std::wstring full = path_ + std::wstring(relative);
    createFolders(full);
    return full;
}

void removeTree(const std::wstring& path) {
    // In the form that reaches beyond MAX_PATH, for the tests of deep installations.
    std::wstring folder = path.size() > 2 && path[1] == L':' ? L"\\\\?\\" + path : path;
    if (!folder.empty() && folder.back() != L'\\') {
        folder.push_back(L'\\');
    }
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((folder + L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    ::RemoveDirectoryW(folder.c_str());
}

void writeFileBytes(const std::wstring& path, std::string_view bytes) {
    createFolders(path);
    UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw std::runtime_error("cannot create a test file");
    }
    DWORD written = 0;
    if (!bytes.empty() && !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        throw std::runtime_error("cannot write a test file");
    }
}

std::string readFileBytes(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) {
        return bytes;
    }
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

bool fileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
