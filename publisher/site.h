#pragma once
// The update server's folder, whose "current" is the web server's root:
//   current                   the release being served: a link to releases/<name>
//                             (on Windows, where links need privileges, the folder itself)
//   releases/<name>           published releases; <name> is the UTC time of publishing and
//                             the version, so that names sort by age
//   releases/.staging-<name>  a release being written; left behind only by a killed publisher
//   .lobbex-publish.lock      held while a publisher works on the site
// A release is written in full into its staging folder and only then switched to, in one
// step where the system has one (the link is replaced by a rename), so a web server never
// serves half a release.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kCurrentName = "current";
inline constexpr std::string_view kReleasesName = "releases";
inline constexpr std::string_view kStagingPrefix = ".staging-";
inline constexpr std::string_view kLockName = ".lobbex-publish.lock";

class Site {
public:
    explicit Site(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const noexcept { return folder_; }
    std::filesystem::path current() const { return folder_ / kCurrentName; }
    std::filesystem::path releases() const { return folder_ / kReleasesName; }
    std::filesystem::path lockFile() const { return folder_ / kLockName; }
    std::filesystem::path release(const std::string& name) const { return releases() / name; }
    std::filesystem::path staging(const std::string& name) const {
        return releases() / (std::string(kStagingPrefix) + name);
    }

    // The version line of the list being served, as the launcher reads it; nothing when no
    // list is served.
    std::optional<std::wstring> servedVersion() const;

    // A name for a new release of version, published now, that no release has yet.
    std::string newReleaseName(std::wstring_view version) const;
    // The same for a release whose time of publishing is unknown (a served folder from
    // elsewhere): its name sorts before every release published here.
    std::string olderReleaseName(std::wstring_view version) const;

    // Removes the staging folders of publishers that were killed; returns their names.
    std::vector<std::string> removeUnfinished();

    // Makes the finished release releases/<name> the served one. On failure the site goes
    // on serving what it served.
    [[nodiscard]] bool switchTo(const std::string& name, std::string& error);

    // The folder of the served release.
    std::filesystem::path servedFolder() const;

    // Removes all releases but the keep newest besides the served one; returns their names.
    std::vector<std::string> prune(int keep);

private:
    // base, or base with "-2", "-3", ... when a release or staging folder has that name.
    std::string freeReleaseName(const std::string& base) const;

    std::filesystem::path folder_;
};
