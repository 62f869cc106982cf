#pragma once
// Everything about a publish that is decided before anything is written: the items of the
// list, their places on the server, and every reason to refuse the release.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "publisher/list_signer.h"

#include "publisher/publish_request.h"
#include "publisher/publish_rules.h"
#include "publisher/refusal.h"
#include "publisher/source_file.h"

// The server folders below the update base URL, and the list's name there.
inline constexpr std::wstring_view kFilesFolder = L"GameClient";
inline constexpr std::wstring_view kPackagesFolder = L"GameVersion";
inline constexpr std::string_view kListFileName = "patchlist.dat";

struct PlannedItem {
    std::filesystem::path source;  // the file itself, not a link to it
    FileIdentity identity;         // the file that was checked
    std::string subject;           // the file as the operator knows it, for messages
    std::wstring kind;             // "File", or the package's version
    ListPathForm listPath;         // prefix included
    std::vector<std::wstring>
        servedNames;         // its place on the server: GameClient or GameVersion, then the list path's parts
    std::uint64_t size = 0;  // when planned; the list takes the size of the bytes copied
};

struct ReleasePlan {
    std::wstring version;
    std::vector<PlannedItem> items;  // installation files by list path, then packages by version number
    std::size_t fileCount = 0;
    std::uint64_t totalBytes = 0;
    std::vector<std::string> warnings;
    std::shared_ptr<const ListSigner> signer;  // with --sign-key: signs the list
};

// Plans the release. False, with every refusal found, when it cannot be published; plan is
// then untouched. Reads the release folder and the packages; writes nothing.
[[nodiscard]] bool planRelease(const PublishRequest& request, ReleasePlan& plan, std::vector<Refusal>& refusals);

// Where an item lies on the server, below the release's root folder.
std::filesystem::path servedPath(const PlannedItem& item);
