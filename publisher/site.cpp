#include "publisher/site.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <system_error>

#include "publisher/release_scan.h"
#include "update/patch_list_parser.h"

namespace fs = std::filesystem;

namespace {

// Release names begin with the time of publishing, so that they sort oldest first.
constexpr char kUnknownStamp[] = "00000000-000000";

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    ::gmtime_s(&utc, &now);
#else
    ::gmtime_r(&now, &utc);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    return stamp;
}

// The version as a part of a folder name: characters that are safe in names everywhere.
std::string nameOfVersion(std::wstring_view version) {
    std::string name;
    for (wchar_t c : version) {
        const bool safe = (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                          c == L'.' || c == L'-' || c == L'+';
        name.push_back(safe ? static_cast<char>(c) : '_');
    }
    return name;
}

bool isStaging(const fs::path& name) {
    return name.native().starts_with(fs::path(kStagingPrefix).native());
}

// The names of the finished releases, oldest first (names begin with the time of publishing).
std::vector<fs::path> releaseNames(const fs::path& releases) {
    std::vector<fs::path> names;
    std::error_code error;
    for (fs::directory_iterator it(releases, error), end; !error && it != end; it.increment(error)) {
        fs::path name = it->path().filename();
        if (it->is_directory(error) && !isStaging(name)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::optional<std::wstring> Site::servedVersion() const {
    std::ifstream in(current() / "patchlist.dat", std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ListLineCursor lines(text);
    return readVersionSection(lines);
}

std::string Site::newReleaseName(std::wstring_view version) const {
    return freeReleaseName(utcStamp() + "_" + nameOfVersion(version));
}

std::string Site::olderReleaseName(std::wstring_view version) const {
    return freeReleaseName(std::string(kUnknownStamp) + "_" + nameOfVersion(version));
}

std::string Site::freeReleaseName(const std::string& base) const {
    std::string name = base;
    std::error_code error;
    for (int n = 2; fs::exists(release(name), error) || fs::exists(staging(name), error); ++n) {
        name = base + "-" + std::to_string(n);
    }
    return name;
}

std::vector<std::string> Site::removeUnfinished() {
    std::vector<std::string> removed;
    std::error_code error;
    for (fs::directory_iterator it(releases(), error), end; !error && it != end; it.increment(error)) {
        const fs::path name = it->path().filename();
        std::error_code ignored;
        if (isStaging(name) && fs::remove_all(it->path(), ignored) != static_cast<std::uintmax_t>(-1)) {
            removed.push_back(displayPath(name));
        }
    }
    return removed;
}

fs::path Site::servedFolder() const {
    std::error_code error;
    if (fs::is_symlink(current(), error)) {
        return releases() / fs::read_symlink(current(), error).filename();
    }
    return current();
}

#ifdef _WIN32

// Links need privileges here: the served release is the folder "current" itself, and the
// switch is two renames. Between them a request finds no release at all (and the launcher
// then sees no list, which leaves its installation alone), never a half one.
bool Site::switchTo(const std::string& name, std::string& error) {
    std::error_code failure;
    fs::path previous;
    if (fs::exists(current(), failure)) {
        previous = release(newReleaseName(servedVersion().value_or(L"previous")));
        fs::rename(current(), previous, failure);
        if (failure) {
            error = "cannot move the served release aside: " + failure.message();
            return false;
        }
    }
    fs::rename(release(name), current(), failure);
    if (failure) {
        error = "cannot switch to the new release: " + failure.message();
        std::error_code ignored;
        if (!previous.empty()) {
            fs::rename(previous, current(), ignored);
        }
        return false;
    }
    return true;
}

#else

// The link "current" is replaced by a rename, which the system does in one step: every
// request sees the old release or the new one.
bool Site::switchTo(const std::string& name, std::string& error) {
    std::error_code failure;
    if (fs::is_directory(fs::symlink_status(current(), failure))) {
        // A served folder from elsewhere (copied from a Windows publisher): kept as a release.
        fs::rename(current(), release(olderReleaseName(servedVersion().value_or(L"previous"))), failure);
        if (failure) {
            error = "cannot move the served folder " + current().string() + " aside: " + failure.message();
            return false;
        }
    }
    const fs::path link = folder_ / ".current.new";
    fs::remove(link, failure);
    fs::create_directory_symlink(fs::path(kReleasesName) / name, link, failure);
    if (!failure) {
        fs::rename(link, current(), failure);
    }
    if (failure) {
        error = "cannot switch " + current().string() + " to the new release: " + failure.message();
        std::error_code ignored;
        fs::remove(link, ignored);
        return false;
    }
    return true;
}

#endif

std::vector<std::string> Site::prune(int keep) {
    std::vector<fs::path> names = releaseNames(releases());
    std::erase(names, servedFolder().filename());
    std::vector<std::string> removed;
    const std::size_t kept = static_cast<std::size_t>(std::max(keep, 0));
    for (std::size_t i = 0; i + kept < names.size(); ++i) {
        std::error_code error;
        fs::remove_all(releases() / names[i], error);
        if (!error) {
            removed.push_back(displayPath(names[i]));
        }
    }
    return removed;
}
