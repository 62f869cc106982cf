#include "identity/der_reader.h"

bool DerReader::read(std::uint8_t tag, ByteSpan& value) noexcept {
    if (rest_.size() < 2 || rest_[0] != tag) {
        return false;
    }
    std::size_t header = 2;
    std::size_t length = rest_[1];
    if (length >= 0x80) {
        // Long form: 0x80 | count, then count bytes of length. Two are plenty for anything
        // read here; the shortest form is the only one DER allows.
        const std::size_t count = length & 0x7F;
        if (count == 0 || count > 2 || rest_.size() < 2 + count) {
            return false;
        }
        length = 0;
        for (std::size_t i = 0; i < count; ++i) {
            length = length << 8 | rest_[2 + i];
        }
        if (length < 0x80 || (count == 2 && length < 0x100)) {
            return false;
        }
        header += count;
    }
    if (length > rest_.size() - header) {
        return false;
    }
    value = rest_.subspan(header, length);
    rest_ = rest_.subspan(header + length);
    return true;
}
