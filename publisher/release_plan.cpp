#include "publisher/release_plan.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "publisher/platform_text.h"
#include "publisher/release_scan.h"
#include "publisher/served_names.h"
#include "update/patch_list_item.h"
#include "update/replacement_order.h"
#include "update/version_number.h"

namespace fs = std::filesystem;

namespace {

// The sizes the launcher reads from the list are 32 bits wide.
constexpr std::uint64_t kLargestListedSize = 0xFFFFFFFFull;

// "data\Server.inf" or "data\Launch.inf" of the installation, as the launcher reads the path.
bool isVersionFileItem(const PlannedItem& item) {
    std::wstring fileName;
    std::wstring directory;
    splitListPath(item.listPath.text, fileName, directory);
    return isInstalledVersionFile(directory, fileName);
}
// The launcher's buffer for a download URL in code page 936 bytes, without the terminator.
constexpr std::size_t kLongestUrl = 259;

std::vector<std::wstring> splitFolders(std::wstring_view text) {
    std::vector<std::wstring> parts;
    while (!text.empty()) {
        const std::size_t cut = text.find_first_of(L"\\/");
        if (cut != 0) {
            parts.emplace_back(text.substr(0, cut));
        }
        if (cut == std::wstring_view::npos) {
            break;
        }
        text.remove_prefix(cut + 1);
    }
    return parts;
}

// Where the launcher puts an item's file below its folder: its directory, "\", its file name.
std::wstring installedPlace(const std::wstring& listPath) {
    std::wstring fileName, directory;
    splitListPath(listPath, fileName, directory);
    return directory + L"\\" + fileName;
}

class Planner {
public:
    Planner(const PublishRequest& request, ReleasePlan& plan, std::vector<Refusal>& refusals)
        : request_(request), plan_(plan), refusals_(refusals) {}

    void run() {
        Refusal refusal;
        if (!checkVersionText(request_.version, "--version", refusal, plan_.warnings)) {
            refusals_.push_back(refusal);
        }
        prefix_ = splitFolders(request_.listPrefix);
        for (const std::wstring& folder : prefix_) {
            if (!checkName(folder, "--list-prefix", refusal)) {
                refusals_.push_back(refusal);
            }
        }
        addFiles();
        addPackages();
        loadSigner();
        if (plan_.items.empty() && refusals_.empty()) {
            refusals_.push_back(Refusal{RefusalKind::NothingToPublish, displayPath(request_.releaseFolder),
                                        "the release folder holds no file and no patch package is given"});
        }
        checkPlaces();
        checkServedAliases(plan_.items, refusals_);
        checkUrls();
    }

private:
    void addFiles() {
        const fs::path& release = request_.releaseFolder;
        std::error_code error;
        if (!fs::is_directory(release, error)) {
            refusals_.push_back(Refusal{RefusalKind::Unreadable, displayPath(release), "it is not a folder"});
            return;
        }
        if (isWithin(request_.siteFolder, release)) {
            refusals_.push_back(Refusal{RefusalKind::SiteInsideRelease, displayPath(request_.siteFolder),
                                        "the site folder lies in the release folder, so the release would "
                                        "contain its own publication"});
            return;
        }
        std::vector<ReleaseFile> files;
        scanRelease(release, files, refusals_);
        std::vector<PlannedItem> items;
        for (ReleaseFile& file : files) {
            PlannedItem item;
            item.subject = displayPath(file.relative);
            if (!formItem(item, file.components)) {
                continue;
            }
            item.source = std::move(file.source);
            item.identity = file.identity;
            item.kind = kFileKind;
            item.size = file.size;
            item.servedNames.insert(item.servedNames.begin(), std::wstring(kFilesFolder));
            warnAboutPlace(item, file.components);
            items.push_back(std::move(item));
        }
        // By list path, the installed version's files last: the launcher puts them in place
        // last too, and so do launchers that follow the list's order.
        std::sort(items.begin(), items.end(), [](const PlannedItem& a, const PlannedItem& b) {
            const bool aLast = isVersionFileItem(a);
            const bool bLast = isVersionFileItem(b);
            return aLast != bLast ? bLast : a.listPath.text < b.listPath.text;
        });
        plan_.fileCount = items.size();
        for (PlannedItem& item : items) {
            add(std::move(item));
        }
    }

    void addPackages() {
        std::vector<PlannedItem> items;
        for (const PatchPackage& package : request_.patches) {
            PlannedItem item;
            item.subject = displayPath(package.file);
            Refusal refusal;
            if (!checkVersionText(package.version, "--patch " + item.subject, refusal, plan_.warnings)) {
                refusals_.push_back(refusal);
                continue;
            }
            std::error_code error;
            if (!fs::is_regular_file(package.file, error)) {
                refusals_.push_back(Refusal{RefusalKind::NotAFile, item.subject, "the patch package is not a file"});
                continue;
            }
            const std::optional<std::wstring> name = pathText(package.file.filename());
            if (!name) {
                refusals_.push_back(Refusal{RefusalKind::NotText, item.subject, "the name is not UTF-8 text"});
                continue;
            }
            // The patcher is handed the package's file name alone and runs in the launcher's
            // folder, so packages lie at the top of the installation.
            if (!formItem(item, {*name})) {
                continue;
            }
            // Copied from the file itself, which a link on the command line may name.
            item.source = fs::canonical(package.file, error);
            const std::optional<FileIdentity> identity = fileIdentity(item.source);
            item.size = static_cast<std::uint64_t>(fs::file_size(item.source, error));
            if (error || !identity) {
                refusals_.push_back(Refusal{RefusalKind::Unreadable, item.subject, "the patch package cannot be read"});
                continue;
            }
            item.identity = *identity;
            item.kind = package.version;
            item.servedNames.insert(item.servedNames.begin(), std::wstring(kPackagesFolder));
            items.push_back(std::move(item));
        }
        // The launcher hands the first newer package to the patcher: the lowest comes first.
        std::stable_sort(items.begin(), items.end(), [](const PlannedItem& a, const PlannedItem& b) {
            return readVersionNumber(a.kind) < readVersionNumber(b.kind);
        });
        for (std::size_t i = 1; i < items.size(); ++i) {
            if (readVersionNumber(items[i].kind) == readVersionNumber(items[i - 1].kind)) {
                refusals_.push_back(Refusal{RefusalKind::SameVersion, items[i].subject,
                                            "it has the version number of " + items[i - 1].subject +
                                                "; the launcher would never hand the second one to the patcher"});
            }
        }
        for (PlannedItem& item : items) {
            add(std::move(item));
        }
    }

    // A private key inside the release or the site would be published with it.
    void loadSigner() {
        if (request_.signingKey.empty()) {
            return;
        }
        const std::string subject = "--sign-key " + displayPath(request_.signingKey);
        for (const fs::path& served : {request_.releaseFolder, request_.siteFolder}) {
            if (isWithin(request_.signingKey, served)) {
                refusals_.push_back(Refusal{RefusalKind::SigningKey, subject,
                                            "the private key lies in " + displayPath(served) +
                                                " and would be published; keep it off the web server"});
                return;
            }
        }
        std::string error;
        std::unique_ptr<ListSigner> signer = loadListSigner(request_.signingKey, error);
        if (!signer) {
            refusals_.push_back(Refusal{RefusalKind::SigningKey, subject, error});
            return;
        }
        plan_.signer = std::move(signer);
    }

    bool formItem(PlannedItem& item, const std::vector<std::wstring>& names) {
        std::vector<std::wstring> components = prefix_;
        components.insert(components.end(), names.begin(), names.end());
        Refusal refusal;
        if (!formListPath(components, item.subject, item.listPath, refusal)) {
            refusals_.push_back(refusal);
            return false;
        }
        item.servedNames = std::move(components);
        return true;
    }

    void add(PlannedItem item) {
        if (item.size > kLargestListedSize) {
            plan_.warnings.push_back(item.subject + ": the file has " + std::to_string(item.size) +
                                     " bytes; the launcher reads sizes of 4 GiB and more as 4294967295, so its "
                                     "progress bar will be off (the digest still checks the whole file)");
        }
        plan_.totalBytes += item.size;
        plan_.items.push_back(std::move(item));
    }

    // A folder of the release that the launcher leaves out (Test_mainfold) moves its files.
    void warnAboutPlace(const PlannedItem& item, const std::vector<std::wstring>& names) {
        std::wstring own;
        for (const std::wstring& name : names) {
            own += L"\\" + name;
        }
        std::wstring relative = own.substr(1);
        const std::wstring place = installedPlace(relative);
        if (place != own) {
            plan_.warnings.push_back(item.subject +
                                     ": the launcher leaves out folders named Test_mainfold and "
                                     "installs this file as \"" +
                                     utf8Text(place.substr(1)) + "\"");
        }
    }

    // Two items that the launcher would write to one file of a Windows folder (which ignores
    // case). The launcher's own files (its list, its temporary downloads) are refused by the
    // name rules of each list path.
    void checkPlaces() {
        std::map<std::wstring, const PlannedItem*> places;
        for (const PlannedItem& item : plan_.items) {
            const std::wstring place = foldCase(installedPlace(item.listPath.text));
            const auto [it, added] = places.emplace(place, &item);
            if (!added) {
                refusals_.push_back(Refusal{RefusalKind::SamePlace, item.subject,
                                            "the launcher would install it where it installs " + it->second->subject +
                                                " (\"" + utf8Text(installedPlace(it->second->listPath.text).substr(1)) +
                                                "\"): Windows ignores case in names and the launcher leaves out "
                                                "folders named Test_mainfold"});
            }
        }
    }

    void checkUrls() {
        if (request_.baseUrl.empty()) {
            return;
        }
        const std::optional<std::string> base = encodeCodePage936(request_.baseUrl);
        if (!base) {
            refusals_.push_back(Refusal{RefusalKind::NotCodePage936, "--base-url",
                                        "the URL has characters that code page 936 cannot represent"});
            return;
        }
        const std::string listUrl = *base + "/" + std::string(kListFileName);
        if (listUrl.size() > kLongestUrl) {
            refusals_.push_back(Refusal{RefusalKind::UrlTooLong, "--base-url",
                                        "the list's URL would be " + std::to_string(listUrl.size()) +
                                            " bytes long; the launcher sends at most " + std::to_string(kLongestUrl)});
            return;
        }
        for (const PlannedItem& item : plan_.items) {
            const std::wstring& folder = item.servedNames.front();
            const std::size_t length = base->size() + 1 + folder.size() + 1 + item.listPath.bytes.size();
            if (length > kLongestUrl) {
                refusals_.push_back(Refusal{RefusalKind::UrlTooLong, item.subject,
                                            "its download URL would be " + std::to_string(length) +
                                                " bytes long in code page 936; the launcher sends at most " +
                                                std::to_string(kLongestUrl)});
            }
        }
    }

    const PublishRequest& request_;
    ReleasePlan& plan_;
    std::vector<Refusal>& refusals_;
    std::vector<std::wstring> prefix_;
};

}  // namespace

bool planRelease(const PublishRequest& request, ReleasePlan& plan, std::vector<Refusal>& refusals) {
    ReleasePlan planned;
    planned.version = request.version;
    std::vector<Refusal> found;
    Planner(request, planned, found).run();
    if (!found.empty()) {
        refusals.insert(refusals.end(), found.begin(), found.end());
        return false;
    }
    plan = std::move(planned);
    return true;
}

fs::path servedPath(const PlannedItem& item) {
    fs::path path;
    for (const std::wstring& name : item.servedNames) {
        path /= textPath(name);
    }
    return path;
}
