// The version file as the launcher reads it: any bytes, lines, sections and item lines.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/item_checks.h"
#include "publisher/platform_text.h"
#include "update/patch_list_parser.h"
#include "update/version_number.h"

namespace {

std::wstring widen(std::string_view bytes) {
    std::wstring text;
    for (char c : bytes) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return text;
}

void parse(std::string_view text, const LineDecoder& decode) {
    ListLineCursor lines(text);
    const std::wstring version = readVersionSection(lines);
    FUZZ_CHECK(version.find(L'\n') == std::wstring::npos);
    (void)readVersionNumber(version);
    std::vector<PatchListItem> items;
    readItemSection(lines, decode, items);
    for (std::size_t i = 0; i < items.size(); ++i) {
        FUZZ_CHECK(items[i].index == static_cast<int>(i));
        checkItem(items[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Byte by byte, and as the code page 936 text a Chinese Windows decodes.
    parse(text, widen);
    parse(text, [](std::string_view line) { return decodeCodePage936(line).value_or(std::wstring()); });
    return 0;
}
