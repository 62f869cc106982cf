#pragma once
// Checks that a version list is the one an operator signed: ECDSA P-256 over the SHA-256 of
// the list's exact bytes, through CNG.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "identity/ecdsa_p256.h"

using Sha256Digest = std::array<std::uint8_t, 32>;

// SHA-256 of bytes; nothing when CNG cannot compute it.
std::optional<Sha256Digest> sha256Of(ByteSpan bytes);
// SHA-256 of a file's bytes; nothing when it cannot be read to its end.
std::optional<Sha256Digest> sha256OfFile(const std::wstring& path);

// True when signature is a valid signature of digest under key.
[[nodiscard]] bool signedBy(const Sha256Digest& digest, const P256Signature& signature, const P256PublicKey& key);

enum class SignatureVerdict {
    Verified,    // signed by one of the keys
    Malformed,   // the signature is no DER ECDSA signature (empty, cut short, over-long)
    NotSigned,   // a signature, but not of this list by any of the keys
    Unreadable,  // the list cannot be read
};

// Whether the file at listPath carries the DER signature derSignature of one of keys.
SignatureVerdict verifyListSignature(const std::wstring& listPath, ByteSpan derSignature,
                                     std::span<const P256PublicKey> keys);
