#include "tests/publisher/publish_fixture.h"

#include "publisher/platform_text.h"
#include "tests/publisher/scratch_folder.h"
#include "update/patch_list_parser.h"

namespace fs = std::filesystem;

ServedList readServedList(const fs::path& site) {
    const std::string text = readBytes(site / "current" / "patchlist.dat");
    ListLineCursor lines(text);
    ServedList list;
    list.version = readVersionSection(lines);
    readItemSection(
        lines, [](std::string_view line) { return decodeCodePage936(line).value_or(L"(not code page 936)"); },
        list.items);
    return list;
}

PublishResult publishFiles(const fs::path& scratch, const fs::path& site, const std::wstring& version,
                           const std::vector<std::pair<std::u8string, std::string>>& files, PublishObserver& observer) {
    static int releases = 0;
    const fs::path release = scratch / ("release-" + std::to_string(++releases));
    fs::create_directories(release);
    for (const auto& [relative, bytes] : files) {
        writeBytes(release / relative, bytes);
    }
    PublishRequest request;
    request.releaseFolder = release;
    request.siteFolder = site;
    request.version = version;
    return publishRelease(request, observer);
}
