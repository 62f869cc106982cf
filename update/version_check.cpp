// The two checks that decide what an update run has to do.
#include <windows.h>

#include <optional>
#include <vector>

#include "identity/file_digests.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/local_path.h"
#include "update/patch_list_reader.h"
#include "update/update_engine.h"
#include "update/version_number.h"

namespace {

struct ListContents {
    std::wstring version;
    std::vector<PatchListItem> items;
};

// Reads the whole list, without its blank lines. Nothing when it cannot be opened or read,
// or when one of its items is not a plain file inside the installation or does not fit an
// entry: such a list is refused whole.
std::optional<ListContents> readList(const std::wstring& path) {
    PatchListReader reader;
    if (!reader.open(path)) {
        return std::nullopt;
    }
    ListContents list;
    list.version = reader.readVersion();
    reader.readItems();
    PatchListItem item;
    for (std::int32_t i = 0; i < reader.itemCount(); ++i) {
        if (!reader.nextItem(item.kind, item.sizeText, item.md5, item.listPath, item.fileName, item.directory)) {
            break;
        }
        item.index = i;
        if (isBlankItem(item)) {
            continue;
        }
        if (!isAcceptableItem(item)) {
            return std::nullopt;
        }
        list.items.push_back(item);
    }
    reader.close();
    return list;
}

}  // namespace

std::wstring UpdateEngine::patchListPath() const {
    return exeDir + L"\\" + std::wstring(kPatchListName);
}

std::wstring UpdateEngine::localPath(const UpdateFileEntry& entry) const {
    return entryLocalPath(exeDir, entry);
}

UpdateResult UpdateEngine::checkPatches() {
    std::optional<ListContents> list = readList(patchListPath());
    if (!list) {
        return VersionError;
    }
    serverVersion = list->version;
    patchQueue.clear();
    totalBytes = 0;
    doneBytes = 0;

    const float installedPatch = readVersionNumber(launchVersion);
    for (const PatchListItem& item : list->items) {
        if (item.kind == kFileKind) {
            continue;
        }
        if (readVersionNumber(item.kind) > installedPatch) {
            patchQueue.push_back(makeEntry(item));
            totalBytes += patchQueue.back().size;
        }
    }
    if (!fileQueue.empty() || !patchQueue.empty()) {
        return UpdatesFound;
    }
    return readVersionNumber(localVersion) >= readVersionNumber(serverVersion) ? UpToDate : UpdatesFound;
}

UpdateResult UpdateEngine::checkFiles() {
    const std::wstring listFile = patchListPath();
    std::optional<ListContents> list = readList(listFile);
    if (!list) {
        return VersionError;
    }
    fileQueue.clear();
    totalBytes = 0;
    doneBytes = 0;

    // The digests are computed on all processors; the queue and the totals come out in list
    // order all the same.
    std::vector<UpdateFileEntry> files;
    std::vector<std::wstring> paths;
    for (const PatchListItem& item : list->items) {
        if (item.kind == kFileKind) {
            files.push_back(makeEntry(item));
            paths.push_back(extendedLengthPath(localPath(files.back())));
        }
    }
    const std::vector<std::wstring> digests = fileDigests(paths, digestThreads());
    for (std::size_t i = 0; i < files.size(); ++i) {
        // Case-sensitive on purpose: the list carries upper-case digests as fileDigest makes them.
        if (digests[i] != files[i].md5) {
            totalBytes += files[i].size;
            fileQueue.push_back(std::move(files[i]));
        }
    }
    (void)deleteFileEvenReadOnly(listFile);
    return !fileQueue.empty() || !patchQueue.empty() ? UpdatesFound : UpToDate;
}
