#include "publisher/publish.h"

#include <chrono>
#include <system_error>

#include "publisher/file_copy.h"
#include "publisher/patch_list_writer.h"
#include "publisher/platform_text.h"
#include "publisher/release_plan.h"
#include "publisher/release_scan.h"
#include "publisher/served_names.h"
#include "publisher/site.h"
#include "publisher/site_lock.h"
#include "update/version_number.h"

namespace fs = std::filesystem;

namespace {

// Removes a release folder that was never served, on every way out of the publish.
class UnservedFolder {
public:
    explicit UnservedFolder(fs::path folder) : folder_(std::move(folder)) {}
    ~UnservedFolder() {
        if (!folder_.empty()) {
            std::error_code ignored;
            fs::remove_all(folder_, ignored);
        }
    }
    UnservedFolder(const UnservedFolder&) = delete;
    UnservedFolder& operator=(const UnservedFolder&) = delete;

    void moved(fs::path to) { folder_ = std::move(to); }
    void served() { folder_.clear(); }

private:
    fs::path folder_;
};

// Version texts passed the checks: printable ASCII.
std::string asciiText(std::wstring_view text) {
    std::string ascii;
    for (wchar_t c : text) {
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

class Writer {
public:
    Writer(const PublishRequest& request, const ReleasePlan& plan, PublishObserver& observer, PublishResult& result)
        : request_(request), plan_(plan), observer_(observer), result_(result), site_(request.siteFolder) {}

    void run() {
        std::error_code failure;
        fs::create_directories(site_.releases(), failure);
        if (failure) {
            return fail("cannot create " + displayPath(site_.releases()) + ": " + failure.message());
        }
        SiteLock lock;
        std::string error;
        if (!lock.acquire(site_.lockFile(), error)) {
            return fail(error);
        }
        for (const std::string& name : site_.removeUnfinished()) {
            observer_.warn("removed " + std::string(kReleasesName) + "/" + name +
                           ", left behind by a publish that did not finish");
        }
        warnAboutServedVersion();
        warnAboutSigning();

        const std::string name = site_.newReleaseName(plan_.version);
        const fs::path staging = site_.staging(name);
        fs::create_directory(staging, failure);
        if (failure) {
            return fail("cannot create " + displayPath(staging) + ": " + failure.message());
        }
        UnservedFolder unserved(staging);
        std::vector<ListedItem> listed;
        if (!copyItems(staging, listed)) {
            return;
        }
        const std::string list = patchListText(asciiText(plan_.version), listed);
        if (!writeNewFile(staging / kListFileName, list, error) || !writeSignature(staging, list, error) ||
            !writeServedAliases(staging, servedAliases(plan_.items), error) || !syncToDisk(staging, error)) {
            return fail(error);
        }
        fs::rename(staging, site_.release(name), failure);
        if (failure) {
            return fail("cannot finish " + displayPath(site_.release(name)) + ": " + failure.message());
        }
        unserved.moved(site_.release(name));
        if (!site_.switchTo(name, error)) {
            return fail(error);
        }
        unserved.served();
        result_.outcome = PublishOutcome::Published;
        result_.report.releaseName = name;
        result_.report.servedFolder = site_.servedFolder();
        result_.report.removedReleases = site_.prune(request_.keepReleases);
    }

private:
    bool copyItems(const fs::path& root, std::vector<ListedItem>& listed) {
        PublishProgress progress;
        progress.itemsTotal = plan_.items.size();
        progress.bytesTotal = plan_.totalBytes;
        std::uint64_t bytes = 0;
        for (const PlannedItem& item : plan_.items) {
            const fs::path target = root / servedPath(item);
            std::error_code failure;
            fs::create_directories(target.parent_path(), failure);
            if (failure) {
                fail("cannot create the folder of " + item.subject + ": " + failure.message());
                return false;
            }
            const std::uint64_t before = bytes;
            const CopyProgress copyProgress = [&](std::uint64_t done) {
                progress.bytesDone = before + done;
                return observer_.progress(progress);
            };
            CopiedFile copied;
            std::string error;
            switch (copyWithDigest(item.source, item.identity, target, copyProgress, copied, error)) {
                case CopyResult::Copied:
                    break;
                case CopyResult::Stopped:
                    result_.outcome = PublishOutcome::Stopped;
                    return false;
                case CopyResult::Failed:
                    fail(item.subject + ": " + error);
                    return false;
            }
            if (copied.size != item.size) {
                observer_.warn(item.subject + ": the file changed while it was published; the list states the " +
                               std::to_string(copied.size) + " bytes that were copied");
            }
            listed.push_back(ListedItem{asciiText(item.kind), item.listPath.bytes, copied.size, copied.digest});
            bytes += copied.size;
            ++progress.itemsDone;
            progress.bytesDone = bytes;
            if (!observer_.progress(progress)) {
                result_.outcome = PublishOutcome::Stopped;
                return false;
            }
        }
        result_.report.bytes = bytes;
        return true;
    }

    // The signature goes into the release with its list, so that the site never serves one
    // without the other.
    bool writeSignature(const fs::path& root, const std::string& list, std::string& error) {
        if (!plan_.signer) {
            return true;
        }
        std::string signature;
        if (!plan_.signer->sign(list, signature, error)) {
            return false;
        }
        return writeNewFile(root / kListSignatureFileName, signature, error);
    }

    // Launchers built with a key refuse a list without its signature.
    void warnAboutSigning() {
        std::error_code error;
        if (!plan_.signer && fs::exists(site_.servedFolder() / kListSignatureFileName, error)) {
            observer_.warn(
                "the served release is signed and this one is not (no --sign-key): launchers built "
                "with a release key will refuse it");
        }
    }

    // Launchers look for changed files only when the list's version is higher than theirs.
    void warnAboutServedVersion() {
        const std::optional<std::wstring> served = site_.servedVersion();
        if (!served || readVersionNumber(plan_.version) > readVersionNumber(*served)) {
            return;
        }
        observer_.warn("the version " + utf8Text(plan_.version) + " is not higher than the served version " +
                       utf8Text(*served) +
                       " (versions compare as decimal numbers: 1.10 is lower than 1.9); launchers that have " +
                       utf8Text(*served) + " will not look for changed files");
    }

    void fail(std::string text) {
        result_.outcome = PublishOutcome::Failed;
        result_.failure = std::move(text);
    }

    const PublishRequest& request_;
    const ReleasePlan& plan_;
    PublishObserver& observer_;
    PublishResult& result_;
    Site site_;
};

}  // namespace

PublishResult publishRelease(const PublishRequest& request, PublishObserver& observer, bool checkOnly) {
    const auto start = std::chrono::steady_clock::now();
    PublishResult result;
    ReleasePlan plan;
    if (!planRelease(request, plan, result.refusals)) {
        result.outcome = PublishOutcome::Refused;
        return result;
    }
    for (const std::string& warning : plan.warnings) {
        observer.warn(warning);
    }
    result.report.files = plan.fileCount;
    result.report.packages = plan.items.size() - plan.fileCount;
    result.report.bytes = plan.totalBytes;
    result.report.signedList = plan.signer != nullptr;
    if (checkOnly) {
        result.outcome = PublishOutcome::Checked;
    } else {
        try {
            Writer(request, plan, observer, result).run();
        } catch (const std::exception& e) {
            result.outcome = PublishOutcome::Failed;
            result.failure = e.what();
        }
    }
    result.report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}
