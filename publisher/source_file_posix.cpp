#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "publisher/source_file.h"

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

UniqueStdFile openCheckedFile(const std::filesystem::path& path, const FileIdentity& identity, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = errno == ELOOP ? "it became a link after the release was checked"
                               : std::string("cannot open it: ") + std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)} !=
            identity) {
        ::close(fd);
        error = "it became another file after the release was checked";
        return nullptr;
    }
    UniqueStdFile file(::fdopen(fd, "rb"));
    if (!file) {
        error = std::string("cannot open it: ") + std::strerror(errno);
        ::close(fd);
    }
    return file;
}
