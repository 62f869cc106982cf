#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <system_error>

#include "common/unique_handle.h"
#include "publisher/source_file.h"

namespace {

std::optional<FileIdentity> identityOf(HANDLE file, bool linkRefused) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        (linkRefused && (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)) {
        return std::nullopt;
    }
    return FileIdentity{information.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

UniqueFileHandle openForReading(const std::filesystem::path& path, DWORD flags) {
    return UniqueFileHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          flags | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

}  // namespace

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    const UniqueFileHandle file = openForReading(path, 0);
    return file ? identityOf(file.get(), false) : std::nullopt;
}

UniqueStdFile openCheckedFile(const std::filesystem::path& path, const FileIdentity& identity, std::string& error) {
    // The link itself is opened, not what it points at.
    UniqueFileHandle file = openForReading(path, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file) {
        error = "cannot open it: " + std::system_category().message(static_cast<int>(::GetLastError()));
        return nullptr;
    }
    const std::optional<FileIdentity> opened = identityOf(file.get(), true);
    if (!opened || *opened != identity) {
        error = "it became another file or a link after the release was checked";
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        error = "cannot open it";
        return nullptr;
    }
    file.release();  // the descriptor owns it now
    UniqueStdFile stream(::_fdopen(fd, "rb"));
    if (!stream) {
        ::_close(fd);
        error = "cannot open it";
    }
    return stream;
}
