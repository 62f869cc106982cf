#pragma once
// The forms of ECDSA on the curve P-256 (prime256v1, secp256r1) that release signing moves
// between: the DER forms OpenSSL reads and writes, and the fixed-size forms of CNG.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "identity/der_reader.h"

inline constexpr std::size_t kP256FieldBytes = 32;

// A public key: the point's X then Y, each 32 bytes, big-endian.
using P256PublicKey = std::array<std::uint8_t, 2 * kP256FieldBytes>;
// A signature: r then s, each 32 bytes, big-endian.
using P256Signature = std::array<std::uint8_t, 2 * kP256FieldBytes>;

struct P256PrivateKey {
    std::array<std::uint8_t, kP256FieldBytes> d{};  // the secret scalar
    P256PublicKey publicKey{};
};

// A DER ECDSA-Sig-Value (SEQUENCE { INTEGER r, INTEGER s }), as `openssl dgst -sign` writes
// it, in the r‖s form. Nothing for anything but exactly one such value: a truncated or
// over-long input, trailing bytes, a negative, zero, non-minimal or over-wide integer.
std::optional<P256Signature> signatureFromDer(ByteSpan der) noexcept;

// The DER form of an r‖s signature, as OpenSSL writes it (shortest integers).
std::string signatureToDer(const P256Signature& signature);

// An EC private key in the DER form of `openssl ecparam -genkey` (SEC 1 ECPrivateKey: version
// 1, the secret, the named curve prime256v1 and the public point). Nothing for another curve,
// a key without its public point, or anything malformed.
std::optional<P256PrivateKey> privateKeyFromSec1(ByteSpan der) noexcept;
