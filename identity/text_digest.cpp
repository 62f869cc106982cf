#include "identity/text_digest.h"

#include <vector>

#include "identity/md5.h"

std::wstring textDigest(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    std::vector<unsigned char> bytes(text.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // Units are 16 bits on Windows; the native build's wide characters are taken the same way.
        const auto unit = static_cast<std::uint16_t>(text[i / 2]);
        bytes[i] = static_cast<unsigned char>(i % 2 == 0 ? unit & 0xFF : unit >> 8);
    }
    return digestText(md5Of(bytes.data(), bytes.size()));
}
