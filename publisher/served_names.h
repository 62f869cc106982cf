#pragma once
// The launcher asks for a file by its list path in code page 936 bytes (WinINet sends them
// raw or percent-encoded, and a web server looks them up as they are), while the names on
// the server are UTF-8. Where names are bytes, each folder of the served tree therefore gets,
// beside every name that is not plain ASCII, a link named with the name's code page 936
// bytes that points at it; requests in UTF-8 find the names themselves.
#include <filesystem>
#include <string>
#include <vector>

#include "publisher/refusal.h"

struct PlannedItem;

struct ServedAlias {
    std::filesystem::path folder;  // below the release's root folder
    std::filesystem::path name;    // the UTF-8 name in that folder
    std::filesystem::path alias;   // the name's code page 936 bytes
};

// The links the items' names need, each once, folders before what they hold.
std::vector<ServedAlias> servedAliases(const std::vector<PlannedItem>& items);

// Refuses a link whose name is the UTF-8 name of another entry of its folder: the server
// could not tell the two apart.
void checkServedAliases(const std::vector<PlannedItem>& items, std::vector<Refusal>& refusals);

// Creates the links below root (the finished release); false with error when one cannot be made.
[[nodiscard]] bool writeServedAliases(const std::filesystem::path& root, const std::vector<ServedAlias>& aliases,
                                      std::string& error);
