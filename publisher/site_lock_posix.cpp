#include "publisher/site_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

SiteLock::~SiteLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool SiteLock::acquire(const std::filesystem::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot open the lock file " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        error = code == EWOULDBLOCK ? "another lobbex-publish is publishing to this site"
                                    : "cannot lock " + path.string() + ": " + std::strerror(code);
        return false;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    return true;
}
