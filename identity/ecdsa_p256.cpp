#include "identity/ecdsa_p256.h"

#include <algorithm>

namespace {

// The object identifier of prime256v1 (1.2.840.10045.3.1.7), contents only.
constexpr std::uint8_t kPrime256v1[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};

// A DER INTEGER's contents as a positive number of at most 32 bytes, right-aligned into out.
bool readScalar(DerReader& reader, std::uint8_t* out) noexcept {
    ByteSpan value;
    if (!reader.read(der::kInteger, value) || value.empty() || (value[0] & 0x80) != 0) {
        return false;  // empty or negative
    }
    if (value[0] == 0x00 && value.size() > 1) {
        if ((value[1] & 0x80) == 0) {
            return false;  // a leading zero DER does not write
        }
        value = value.subspan(1);
    }
    if (value.size() > kP256FieldBytes || std::all_of(value.begin(), value.end(), [](auto b) { return b == 0; })) {
        return false;
    }
    std::fill(out, out + kP256FieldBytes, std::uint8_t{0});
    std::copy(value.begin(), value.end(), out + (kP256FieldBytes - value.size()));
    return true;
}

// The contents of the one SEQUENCE that input is, with nothing after it.
bool readOnlySequence(ByteSpan input, ByteSpan& body) noexcept {
    DerReader outer(input);
    return outer.read(der::kSequence, body) && outer.done();
}

void appendInteger(std::string& der, const std::uint8_t* scalar) {
    std::size_t first = 0;
    while (first + 1 < kP256FieldBytes && scalar[first] == 0) {
        ++first;
    }
    const bool pad = (scalar[first] & 0x80) != 0;
    der.push_back(static_cast<char>(der::kInteger));
    der.push_back(static_cast<char>(kP256FieldBytes - first + (pad ? 1 : 0)));
    if (pad) {
        der.push_back('\0');
    }
    der.append(reinterpret_cast<const char*>(scalar + first), kP256FieldBytes - first);
}

}  // namespace

std::optional<P256Signature> signatureFromDer(ByteSpan input) noexcept {
    ByteSpan body;
    if (!readOnlySequence(input, body)) {
        return std::nullopt;
    }
    DerReader inner(body);
    P256Signature signature{};
    if (!readScalar(inner, signature.data()) || !readScalar(inner, signature.data() + kP256FieldBytes) ||
        !inner.done()) {
        return std::nullopt;
    }
    return signature;
}

std::string signatureToDer(const P256Signature& signature) {
    std::string body;
    appendInteger(body, signature.data());
    appendInteger(body, signature.data() + kP256FieldBytes);
    std::string der;
    der.push_back(static_cast<char>(der::kSequence));
    der.push_back(static_cast<char>(body.size()));  // at most 2 × 35 bytes: the short form
    return der + body;
}

std::optional<P256PrivateKey> privateKeyFromSec1(ByteSpan input) noexcept {
    ByteSpan body;
    if (!readOnlySequence(input, body)) {
        return std::nullopt;
    }
    DerReader fields(body);
    ByteSpan version;
    ByteSpan secret;
    ByteSpan parameters;
    ByteSpan publicKey;
    if (!fields.read(der::kInteger, version) || version.size() != 1 || version[0] != 1 ||
        !fields.read(der::kOctetString, secret) || secret.size() != kP256FieldBytes ||
        !fields.read(der::contextTag(0), parameters) || !fields.read(der::contextTag(1), publicKey) || !fields.done()) {
        return std::nullopt;
    }
    DerReader curveReader(parameters);
    ByteSpan curve;
    if (!curveReader.read(der::kObjectId, curve) || !curveReader.done() ||
        !std::equal(curve.begin(), curve.end(), std::begin(kPrime256v1), std::end(kPrime256v1))) {
        return std::nullopt;
    }
    // BIT STRING: no unused bits, then the uncompressed point 04 ‖ X ‖ Y.
    DerReader pointReader(publicKey);
    ByteSpan point;
    if (!pointReader.read(der::kBitString, point) || !pointReader.done() || point.size() != 2 + 2 * kP256FieldBytes ||
        point[0] != 0 || point[1] != 0x04) {
        return std::nullopt;
    }
    P256PrivateKey key;
    std::copy(secret.begin(), secret.end(), key.d.begin());
    std::copy(point.begin() + 2, point.end(), key.publicKey.begin());
    return key;
}
