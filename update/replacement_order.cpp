#include "update/replacement_order.h"

#include <string_view>

#include "common/ascii_case.h"

bool isInstalledVersionFile(std::wstring_view directory, std::wstring_view fileName) noexcept {
    return equalsIgnoringAsciiCase(directory, L"\\data") &&
           (equalsIgnoringAsciiCase(fileName, L"Server.inf") || equalsIgnoringAsciiCase(fileName, L"Launch.inf"));
}

bool isInstalledVersionFile(const UpdateFileEntry& entry) noexcept {
    return isInstalledVersionFile(fixedTextView(entry.directory), fixedTextView(entry.fileName));
}

std::vector<std::size_t> replacementOrder(const UpdateQueue& queue) {
    std::vector<std::size_t> order;
    order.reserve(queue.size());
    for (bool versionFiles : {false, true}) {
        for (std::size_t i = 0; i < queue.size(); ++i) {
            if (isInstalledVersionFile(queue[i]) == versionFiles) {
                order.push_back(i);
            }
        }
    }
    return order;
}
