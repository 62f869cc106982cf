#include "common/whole_file.h"

#include <windows.h>

#include <cstdint>

#include "common/unique_handle.h"

std::optional<std::string> readWholeFile(const std::wstring& path, std::size_t maxBytes) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}
