#include "publisher/file_copy.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "publisher/release_scan.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunkBytes = 1u << 20;

using UniqueFile = UniqueStdFile;

UniqueFile createFile(const fs::path& path) {
#ifdef _WIN32
    return UniqueFile(::_wfopen(path.c_str(), L"wb"));
#else
    return UniqueFile(std::fopen(path.c_str(), "wb"));
#endif
}

std::string systemError() {
    return std::strerror(errno);
}

// Flushes and closes a written file; false when its last bytes could not be written.
bool finish(UniqueFile file) {
    bool written = std::fflush(file.get()) == 0;
#ifdef _WIN32
    // Each file goes to disk as it is closed; elsewhere the whole tree does at the end.
    written = written && ::_commit(::_fileno(file.get())) == 0;
#endif
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace

CopyResult copyWithDigest(const fs::path& from, const FileIdentity& identity, const fs::path& to,
                          const CopyProgress& progress, CopiedFile& copied, std::string& error) {
    UniqueFile in = openCheckedFile(from, identity, error);
    if (!in) {
        return CopyResult::Failed;
    }
    UniqueFile out = createFile(to);
    if (!out) {
        error = "cannot create its copy: " + systemError();
        return CopyResult::Failed;
    }
    std::vector<unsigned char> buffer(kChunkBytes);
    Md5 md5;
    std::uint64_t size = 0;
    while (true) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
        if (got > 0) {
            md5.update(buffer.data(), got);
            if (std::fwrite(buffer.data(), 1, got, out.get()) != got) {
                error = "cannot write its copy: " + systemError();
                return CopyResult::Failed;
            }
            size += got;
            if (progress && !progress(size)) {
                return CopyResult::Stopped;
            }
        }
        if (got < buffer.size()) {
            if (std::ferror(in.get())) {
                error = "cannot read it: " + systemError();
                return CopyResult::Failed;
            }
            break;
        }
    }
    if (!finish(std::move(out))) {
        error = "cannot write its copy: " + systemError();
        return CopyResult::Failed;
    }
    copied.size = size;
    copied.digest = md5.finish();
    return CopyResult::Copied;
}

bool writeNewFile(const fs::path& to, std::string_view bytes, std::string& error) {
    UniqueFile out = createFile(to);
    if (!out) {
        error = "cannot create " + displayPath(to.filename()) + ": " + systemError();
        return false;
    }
    if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) ||
        !finish(std::move(out))) {
        error = "cannot write " + displayPath(to.filename()) + ": " + systemError();
        return false;
    }
    return true;
}

bool syncToDisk(const fs::path& folder, std::string& error) {
#ifdef _WIN32
    (void)folder;
    (void)error;
    return true;  // each file was committed as it was closed
#else
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + folder.string() + " to put it on disk: " + systemError();
        return false;
    }
#ifdef __linux__
    const bool synced = ::syncfs(fd) == 0;
#else
    ::sync();
    const bool synced = true;
#endif
    ::close(fd);
    if (!synced) {
        error = "cannot put the release on disk: " + systemError();
    }
    return synced;
#endif
}
