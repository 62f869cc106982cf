// Whatever list path the publisher accepts, the launcher reads back unchanged and acts on:
// the input's UTF-16 text, split at "/" into the parts of a path, goes through the
// publisher's rules, its list writer and the launcher's parser.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/item_checks.h"
#include "identity/md5.h"
#include "publisher/patch_list_writer.h"
#include "publisher/platform_text.h"
#include "publisher/publish_rules.h"
#include "update/patch_list_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> parts(1);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == L'/') {
            parts.emplace_back();
        } else {
            parts.back().push_back(c);
        }
    }
    ListPathForm form;
    Refusal refusal;
    if (!formListPath(parts, "fuzz", form, refusal)) {
        return 0;
    }
    const Md5Digest digest = md5Of(data, size);
    const std::string list = patchListText("1.0", {ListedItem{"File", form.bytes, size, digest}});

    ListLineCursor lines(list);
    FUZZ_CHECK(readVersionSection(lines) == L"1.0");
    std::vector<PatchListItem> items;
    readItemSection(
        lines, [](std::string_view line) { return decodeCodePage936(line).value_or(std::wstring(L"(undecodable)")); },
        items);
    FUZZ_CHECK(items.size() == 1);
    const PatchListItem& item = items[0];
    checkItem(item);
    FUZZ_CHECK(item.kind == L"File");
    FUZZ_CHECK(item.listPath == form.text);
    FUZZ_CHECK(item.sizeText == std::to_wstring(size));
    FUZZ_CHECK(item.md5 == digestText(digest));
    FUZZ_CHECK(isAcceptableItem(item));
    FUZZ_CHECK(item.fileName == parts.back());
    return 0;
}
