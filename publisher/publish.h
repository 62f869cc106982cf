#pragma once
// Publishing a release: planned in full first (a refused release writes nothing), written
// into a staging folder of the site, put on disk, then switched to (see site.h).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "publisher/publish_request.h"
#include "publisher/refusal.h"

struct PublishProgress {
    std::size_t itemsDone = 0;
    std::size_t itemsTotal = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};

class PublishObserver {
public:
    virtual ~PublishObserver() = default;
    // Something the operator should know that does not stop the publish.
    virtual void warn(std::string_view text) = 0;
    // Called while files are copied, after every file and every few MiB of a large one; false
    // stops the publish, and the site goes on serving what it served.
    virtual bool progress(const PublishProgress& progress) = 0;
};

enum class PublishOutcome { Published, Checked, Refused, Failed, Stopped };

struct PublishReport {
    std::string releaseName;             // below the site's releases folder
    std::filesystem::path servedFolder;  // what the web server now serves
    std::size_t files = 0;               // installation files
    std::size_t packages = 0;            // patch packages
    std::uint64_t bytes = 0;
    double seconds = 0;
    std::vector<std::string> removedReleases;  // earlier releases beyond the ones kept
    bool signedList = false;                   // the list is (or, checked, would be) signed
};

struct PublishResult {
    PublishOutcome outcome = PublishOutcome::Failed;
    std::vector<Refusal> refusals;  // on Refused: every reason found
    std::string failure;            // on Failed: what went wrong
    PublishReport report;           // on Published and Checked
};

// Publishes request.releaseFolder and the patch packages into request.siteFolder. With
// checkOnly, plans the release and reports what it would publish (outcome Checked) without
// writing anything.
PublishResult publishRelease(const PublishRequest& request, PublishObserver& observer, bool checkOnly = false);
