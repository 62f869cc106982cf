#include "publisher/served_names.h"

#include <map>
#include <set>
#include <system_error>

#include "publisher/platform_text.h"
#include "publisher/release_plan.h"
#include "publisher/release_scan.h"

namespace fs = std::filesystem;

namespace {

bool isAscii(std::wstring_view name) {
    for (wchar_t c : name) {
        if (static_cast<std::uint32_t>(c) > 0x7F) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<ServedAlias> servedAliases(const std::vector<PlannedItem>& items) {
    std::vector<ServedAlias> aliases;
    if (!kServesCodePage936Names) {
        return aliases;
    }
    std::set<fs::path> done;
    for (const PlannedItem& item : items) {
        fs::path folder;
        for (const std::wstring& name : item.servedNames) {
            const fs::path namePath = textPath(name);
            const fs::path place = folder / namePath;
            if (!isAscii(name) && done.insert(place).second) {
                // The names passed the code page 936 check when the item was planned.
                const std::string bytes = encodeCodePage936(name).value_or(std::string());
                aliases.push_back(ServedAlias{folder, namePath, fs::path(bytes)});
            }
            folder = place;
        }
    }
    return aliases;
}

void checkServedAliases(const std::vector<PlannedItem>& items, std::vector<Refusal>& refusals) {
    if (!kServesCodePage936Names) {
        return;
    }
    // Every real name of every served folder, with the item that brings it.
    std::map<fs::path, const PlannedItem*> entries;
    for (const PlannedItem& item : items) {
        fs::path place;
        for (const std::wstring& name : item.servedNames) {
            place /= textPath(name);
            entries.emplace(place, &item);
        }
    }
    for (const ServedAlias& alias : servedAliases(items)) {
        const auto clash = entries.find(alias.folder / alias.alias);
        if (clash == entries.end()) {
            continue;
        }
        const PlannedItem& owner = *entries.at(alias.folder / alias.name);
        refusals.push_back(Refusal{RefusalKind::AliasClash, owner.subject,
                                   "the code page 936 bytes of \"" + displayPath(alias.name) +
                                       "\" are the UTF-8 name of " + clash->second->subject +
                                       "; the server could not tell the two apart"});
    }
}

bool writeServedAliases(const fs::path& root, const std::vector<ServedAlias>& aliases, std::string& error) {
    for (const ServedAlias& alias : aliases) {
        std::error_code failure;
        fs::create_symlink(alias.name, root / alias.folder / alias.alias, failure);
        if (failure) {
            error = "cannot create the code page 936 name of " + displayPath(alias.folder / alias.name) + ": " +
                    failure.message();
            return false;
        }
    }
    return true;
}
