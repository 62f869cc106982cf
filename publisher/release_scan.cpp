#include "publisher/release_scan.h"

#include <cstdio>
#include <iterator>
#include <system_error>

#include "publisher/platform_text.h"

namespace fs = std::filesystem;

namespace {

struct Walk {
    const fs::path& release;
    std::vector<ReleaseFile>& files;
    std::vector<Refusal>& refusals;

    void refuse(RefusalKind kind, const fs::path& relative, std::string reason) {
        refusals.push_back(Refusal{kind, displayPath(relative), std::move(reason)});
    }

    void folder(const fs::path& folder, const fs::path& relative, const std::vector<std::wstring>& names) {
        std::error_code error;
        fs::directory_iterator entries(folder, error);
        if (error) {
            refuse(RefusalKind::Unreadable, relative.empty() ? fs::path(".") : relative,
                   "the folder cannot be read: " + error.message());
            return;
        }
        for (; entries != fs::directory_iterator(); entries.increment(error)) {
            entry(entries->path(), relative / entries->path().filename(), names);
        }
        if (error) {
            refuse(RefusalKind::Unreadable, relative, "the folder cannot be read to its end: " + error.message());
        }
    }

    void entry(const fs::path& path, const fs::path& relative, std::vector<std::wstring> names) {
        const std::optional<std::wstring> name = pathText(path.filename());
        if (!name) {
            refuse(RefusalKind::NotText, relative,
                   "the name is not UTF-8 text, so its characters and their code page 936 form are unknown");
            return;
        }
        names.push_back(*name);
        std::error_code error;
        const fs::file_status link = fs::symlink_status(path, error);
        const fs::file_status target = fs::status(path, error);
        if (fs::is_directory(target)) {
            if (fs::is_symlink(link)) {
                refuse(RefusalKind::NotAFile, relative, "a link to a folder is not followed; copy the folder instead");
                return;
            }
            folder(path, relative, names);
            return;
        }
        if (!fs::is_regular_file(target)) {
            refuse(RefusalKind::NotAFile, relative,
                   fs::is_symlink(link) && !fs::exists(target) ? "the link points at nothing"
                                                               : "it is not a file (a device, a pipe or a socket)");
            return;
        }
        fs::path source = path;
        if (fs::is_symlink(link)) {
            source = fs::canonical(path, error);
            if (error || !isWithin(source, release)) {
                refuse(RefusalKind::LinkOutside, relative,
                       "the link leads out of the release folder" +
                           (error ? std::string() : " (to " + displayPath(source) + ")") +
                           ", and what it points at would be published; copy the file into the release instead");
                return;
            }
        }
        const std::optional<FileIdentity> identity = fileIdentity(source);
        const std::uintmax_t size = fs::file_size(source, error);
        if (error || !identity) {
            refuse(RefusalKind::Unreadable, relative,
                   "its size cannot be read: " + (error ? error.message() : std::string("it cannot be opened")));
            return;
        }
        files.push_back(
            ReleaseFile{std::move(source), *identity, relative, std::move(names), static_cast<std::uint64_t>(size)});
    }
};

}  // namespace

void scanRelease(const fs::path& releaseFolder, std::vector<ReleaseFile>& files, std::vector<Refusal>& refusals) {
    Walk walk{releaseFolder, files, refusals};
    walk.folder(releaseFolder, fs::path(), {});
}

std::string displayPath(const fs::path& path) {
    std::string shown;
    bool separate = false;
    for (const fs::path& part : path) {
        const bool root = part == path.root_name() || part == path.root_directory();
        if (separate && !root) {
            shown.push_back('/');
        }
        separate = !root || part != path.root_directory();
        if (part == path.root_directory()) {
            shown.push_back('/');
            continue;
        }
        if (const std::optional<std::wstring> text = pathText(part)) {
            shown += utf8Text(*text);
            continue;
        }
        using Unit = fs::path::value_type;
        for (const Unit unit : part.native()) {
            const auto value = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(unit));
            if (value >= 0x20 && value < 0x7F) {
                shown.push_back(static_cast<char>(value));
            } else {
                char escaped[12];
                std::snprintf(escaped, sizeof escaped, value > 0xFF ? "\\u%04X" : "\\x%02X", value);
                shown += escaped;
            }
        }
    }
    return shown;
}

bool isWithin(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    const fs::path inner = fs::weakly_canonical(fs::absolute(path), error);
    const fs::path outer = fs::weakly_canonical(fs::absolute(folder), error);
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty() && std::next(o) == outer.end()) {
            break;  // the trailing separator of a folder
        }
        if (i == inner.end() || *i != *o) {
            return false;
        }
    }
    return true;
}
