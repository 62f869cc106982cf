// One item line of any UTF-16 text, and version texts: the launcher's readings and the
// publisher's account of them agree.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/item_checks.h"
#include "update/version_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        line.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    checkItem(parseItemLine(line, 0));

    const std::size_t length = versionNumberLength(line);
    FUZZ_CHECK(length <= line.size());
    const float value = readVersionNumber(line);
    const float prefix = readVersionNumber(std::wstring_view(line).substr(0, length));
    FUZZ_CHECK(value == prefix || (std::isnan(value) && std::isnan(prefix)));
    if (length == 0) {
        FUZZ_CHECK(value == 0.0f);
    }
    return 0;
}
