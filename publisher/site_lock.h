#pragma once
// One publisher at a time per site. The lock goes with the process, so a publisher that is
// killed leaves nothing that stops the next one.
#include <filesystem>
#include <string>

#ifdef _WIN32
#include "common/unique_handle.h"
#endif

class SiteLock {
public:
    SiteLock() = default;
    ~SiteLock();
    SiteLock(const SiteLock&) = delete;
    SiteLock& operator=(const SiteLock&) = delete;

    // Takes the lock of the file at path (created when missing) without waiting; false with
    // error when another process holds it or the file cannot be opened.
    [[nodiscard]] bool acquire(const std::filesystem::path& path, std::string& error);

private:
#ifdef _WIN32
    UniqueFileHandle file_;
#else
    int fd_ = -1;
#endif
};
