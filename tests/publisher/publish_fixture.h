#pragma once
// What the publisher tests share: an observer that records, and the served list read back
// with the launcher's own list parser.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "publisher/publish.h"
#include "update/patch_list_item.h"

class RecordingObserver : public PublishObserver {
public:
    void warn(std::string_view text) override { warnings.emplace_back(text); }
    bool progress(const PublishProgress& p) override {
        calls.push_back(p);
        return onProgress ? onProgress(p) : true;
    }

    std::vector<std::string> warnings;
    std::vector<PublishProgress> calls;
    std::function<bool(const PublishProgress&)> onProgress;  // says whether to go on; unset: always
};

struct ServedList {
    std::wstring version;
    std::vector<PatchListItem> items;
};

// site/current/patchlist.dat parsed by the launcher's parser, item lines decoded from code
// page 936 as a Chinese Windows does.
ServedList readServedList(const std::filesystem::path& site);

// Publishes files (relative path in UTF-8 -> content) as a release of version into site,
// from a release folder created below scratch.
PublishResult publishFiles(const std::filesystem::path& scratch, const std::filesystem::path& site,
                           const std::wstring& version, const std::vector<std::pair<std::u8string, std::string>>& files,
                           PublishObserver& observer);
