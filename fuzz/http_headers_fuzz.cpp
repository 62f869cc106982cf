// The answer headers a resumed download reads, on any text: a Content-Range that reads is a
// range that lies inside its total and is written back to the same text, a Content-Length that
// reads is the number its digits say, and what a resumed request makes of the answer is one
// that appends only at the offset it asked for.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "update/http_rules.h"

namespace {

std::wstring rangeText(const ContentRange& range) {
    return L"bytes " + std::to_wstring(range.first) + L"-" + std::to_wstring(range.last) + L"/" +
           (range.total ? std::to_wstring(*range.total) : std::wstring(L"*"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Header values arrive as UTF-16 from the library: each byte one unit, so that the digits,
    // blanks and separators that matter are easy to reach.
    const std::wstring text(data, data + size);
    if (const std::optional<ContentRange> range = parseContentRange(text)) {
        FUZZ_CHECK(range->first <= range->last);
        FUZZ_CHECK(!range->total || range->last < *range->total);
        const std::optional<ContentRange> again = parseContentRange(rangeText(*range));
        FUZZ_CHECK(again && again->first == range->first && again->last == range->last && again->total == range->total);
        FUZZ_CHECK(resumeAnswer(206, range->first, range) ==
                   (range->first > 0 ? ResumeAnswer::Append : ResumeAnswer::AskWhole));
        FUZZ_CHECK(resumeAnswer(206, range->first + 1, range) == ResumeAnswer::AskWhole);
    }
    if (const std::optional<std::uint64_t> length = parseContentLength(text)) {
        FUZZ_CHECK(parseContentLength(std::to_wstring(*length)) == length);
        for (wchar_t c : text) {
            FUZZ_CHECK((c >= L'0' && c <= L'9') || c == L' ' || c == L'\t');
        }
    }
    return 0;
}
