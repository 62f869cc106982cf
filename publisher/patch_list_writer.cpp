#include "publisher/patch_list_writer.h"

#include "update/patch_list_item.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string patchListText(const std::string& version, const std::vector<ListedItem>& items) {
    std::string text;
    text.append(kVersionSection).append(kLineEnd);
    text.append(version).append(kLineEnd);
    text.append(kPatchListSection).append(kLineEnd);
    for (const ListedItem& item : items) {
        text.append(item.kind).append(",").append(item.listPath).append(",").append(std::to_string(item.size));
        text.append(",");
        for (wchar_t digit : digestText(item.digest)) {
            text.push_back(static_cast<char>(digit));
        }
        text.append(kLineEnd);
    }
    return text;
}
