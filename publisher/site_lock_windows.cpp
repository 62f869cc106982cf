#include "publisher/site_lock.h"

#include <windows.h>

SiteLock::~SiteLock() = default;

bool SiteLock::acquire(const std::filesystem::path& path, std::string& error) {
    // Opened without sharing: a second publisher cannot open it while this one runs.
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = ::GetLastError();
        error = code == ERROR_SHARING_VIOLATION ? "another lobbex-publish is publishing to this site"
                                                : "cannot open the lock file (error " + std::to_string(code) + ")";
        return false;
    }
    file_ = std::move(file);
    return true;
}
