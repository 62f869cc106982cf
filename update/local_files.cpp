#include "update/local_files.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/text_codec.h"
#include "common/unique_handle.h"
#include "common/whole_file.h"
#include "update/list_path_rules.h"
#include "update/local_path.h"

namespace {

// The record of aside files, in the installation's folder: one path per line, relative to
// that folder, in UTF-8. Its name holds the mark of the launcher's own names, which no list
// may carry.
constexpr wchar_t kAsideRecordName[] = L"asides.rkx-list";
constexpr int kReplaceCalls = 3;
constexpr int kAsideNames = 9;

bool exists(const std::wstring& extended) {
    return ::GetFileAttributesW(extended.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Where the folders of an extended path begin: after "\\?\C:\" or "\\?\UNC\server\share\".
std::size_t rootLength(const std::wstring& extended) {
    if (extended.starts_with(L"\\\\?\\UNC\\")) {
        std::size_t at = extended.find(L'\\', 8);
        at = at == std::wstring::npos ? at : extended.find(L'\\', at + 1);
        return at == std::wstring::npos ? extended.size() : at + 1;
    }
    return extended.starts_with(L"\\\\?\\") ? 7 : 0;
}

bool removeFile(const std::wstring& extended) {
    const DWORD attributes = ::GetFileAttributesW(extended.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        ::SetFileAttributesW(extended.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return ::DeleteFileW(extended.c_str()) != 0;
}

std::vector<std::wstring> readAsideRecord(const std::wstring& record) {
    std::vector<std::wstring> paths;
    const std::optional<std::string> bytes = readSmallFile(record, 1 << 20);
    if (!bytes) {
        return paths;
    }
    const std::wstring text = decodeBytes(*bytes, CP_UTF8);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        if (end > start) {
            paths.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return paths;
}

bool writeAsideRecord(const std::wstring& record, const std::vector<std::wstring>& paths) {
    if (paths.empty()) {
        return removeFile(record);
    }
    std::wstring text;
    for (const std::wstring& path : paths) {
        text += path + L"\n";
    }
    const std::string bytes = encodeText(text, CP_UTF8).value_or(std::string());
    UniqueFileHandle file(
        ::CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && ::FlushFileBuffers(file.get());
}

// An aside name that no file has yet: target + ".rkx-old", or with a number after it when an
// earlier one is still in use.
std::wstring freeAsideName(const std::wstring& target) {
    for (int n = 1; n <= kAsideNames; ++n) {
        std::wstring aside = target + std::wstring(kAsideSuffix);
        if (n > 1) {
            aside += std::to_wstring(n);
        }
        if (removeFile(aside)) {
            return aside;
        }
    }
    return {};
}

// Only what this file writes is acted on: a relative path to a name with the aside suffix,
// without steps up the folder tree.
bool isRecordedAside(const std::wstring& relative) {
    if (relative.empty() || relative.find(L':') != std::wstring::npos || relative.front() == L'\\' ||
        relative.find(L"..") != std::wstring::npos) {
        return false;
    }
    const std::size_t suffix = relative.rfind(kAsideSuffix);
    return suffix != std::wstring::npos &&
           relative.size() - suffix - kAsideSuffix.size() <= 1;  // none, or one digit of freeAsideName
}

// Renames the running program target aside and moves the download in. Either the download
// ends up in place or the old file stays (or is put back) where it was.
bool replaceRunningProgram(const std::wstring& download, const std::wstring& target, const std::wstring& installation) {
    const std::wstring aside = freeAsideName(target);
    if (aside.empty() || !aside.starts_with(installation)) {
        return false;
    }
    // Recorded first: a run that stops after the rename still finds it.
    const std::wstring record = installation + kAsideRecordName;
    std::vector<std::wstring> recorded = readAsideRecord(record);
    recorded.push_back(aside.substr(installation.size()));
    if (!writeAsideRecord(record, recorded)) {
        return false;
    }
    if (!::MoveFileExW(target.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return false;  // held open by another program: it stays as it is
    }
    if (::MoveFileExW(download.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    const DWORD error = ::GetLastError();
    ::MoveFileExW(aside.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    ::SetLastError(error);
    return false;
}

}  // namespace

std::optional<std::uint64_t> fileLength(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(extendedLengthPath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::string> readSmallFile(const std::wstring& path, std::size_t maxBytes) {
    return readWholeFile(extendedLengthPath(path), maxBytes);
}

void createParentDirectories(const std::wstring& path) {
    const std::wstring full = extendedLengthPath(path);
    // Most files go into a folder that is there already: one look instead of a creation for
    // every folder on the way.
    const std::size_t parentEnd = full.find_last_of(L'\\');
    if (parentEnd != std::wstring::npos && parentEnd > rootLength(full)) {
        const DWORD attributes = ::GetFileAttributesW(full.substr(0, parentEnd).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return;
        }
    }
    // Every prefix that ends before a "\", in order; the whole path is never created.
    for (std::size_t i = rootLength(full); i < full.size(); ++i) {
        if (full[i] != L'\\') {
            continue;
        }
        const std::wstring prefix = full.substr(0, i);
        if (::CreateDirectoryW(prefix.c_str(), nullptr)) {
            ::SetFileAttributesW(prefix.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

bool deleteFileEvenReadOnly(const std::wstring& path) {
    return removeFile(extendedLengthPath(path));
}

bool putInPlace(const std::wstring& download, const std::wstring& target, const std::wstring& installation) {
    const std::wstring from = extendedLengthPath(download);
    const std::wstring to = extendedLengthPath(target);
    {
        UniqueFileHandle file(
            ::CreateFileW(from.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !::FlushFileBuffers(file.get())) {
            return false;
        }
    }
    const DWORD attributes = ::GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    DWORD error = ERROR_SUCCESS;
    for (int call = 0; call < kReplaceCalls; ++call) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        error = ::GetLastError();
        ::Sleep(100);  // a scanner that holds the file a moment
    }
    // A running program's file cannot be replaced or deleted, only renamed.
    if (error == ERROR_ACCESS_DENIED && exists(to) &&
        replaceRunningProgram(from, to, extendedLengthPath(installation))) {
        return true;
    }
    ::SetLastError(error);
    return false;
}

void removeAsideFiles(const std::wstring& installation) {
    const std::wstring folder = extendedLengthPath(installation);
    const std::wstring record = folder + kAsideRecordName;
    if (!exists(record)) {
        return;
    }
    std::vector<std::wstring> kept;
    for (const std::wstring& relative : readAsideRecord(record)) {
        if (!isRecordedAside(relative)) {
            continue;
        }
        const std::wstring aside = folder + relative;
        if (!exists(aside)) {
            continue;
        }
        const std::wstring original = aside.substr(0, aside.rfind(kAsideSuffix));
        const bool done = exists(original)
                              ? removeFile(aside)
                              : ::MoveFileExW(aside.c_str(), original.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        if (!done) {
            kept.push_back(relative);  // still running: a later run deletes it
        }
    }
    (void)writeAsideRecord(record, kept);
}
