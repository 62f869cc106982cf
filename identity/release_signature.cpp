#include "identity/release_signature.h"

#include <cstring>
#include <vector>

#include "identity/cng_handles.h"

namespace {

constexpr DWORD kReadBytes = 64 * 1024;

// A SHA-256 computation, fed in parts.
class Sha256 {
public:
    Sha256() {
        ok_ = cngSucceeded(::BCryptOpenAlgorithmProvider(algorithm_.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
              cngSucceeded(::BCryptCreateHash(algorithm_.get(), hash_.put(), nullptr, 0, nullptr, 0, 0));
    }
    void update(const std::uint8_t* data, std::size_t size) {
        // CNG takes the input as a non-const pointer but does not change it.
        ok_ = ok_ && cngSucceeded(::BCryptHashData(hash_.get(), const_cast<PUCHAR>(data), static_cast<ULONG>(size), 0));
    }
    std::optional<Sha256Digest> finish() {
        Sha256Digest digest{};
        if (!ok_ ||
            !cngSucceeded(::BCryptFinishHash(hash_.get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
            return std::nullopt;
        }
        return digest;
    }

private:
    UniqueCngAlgorithm algorithm_;
    UniqueCngHash hash_;
    bool ok_ = false;
};

}  // namespace

std::optional<Sha256Digest> sha256Of(ByteSpan bytes) {
    Sha256 sha;
    sha.update(bytes.data(), bytes.size());
    return sha.finish();
}

std::optional<Sha256Digest> sha256OfFile(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return std::nullopt;
    }
    Sha256 sha;
    std::vector<std::uint8_t> buffer(kReadBytes);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer.data(), kReadBytes, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            return sha.finish();
        }
        sha.update(buffer.data(), got);
    }
}

bool signedBy(const Sha256Digest& digest, const P256Signature& signature, const P256PublicKey& key) {
    UniqueCngAlgorithm algorithm;
    if (!cngSucceeded(::BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) {
        return false;
    }
    // BCRYPT_ECCKEY_BLOB, then X and Y.
    std::array<std::uint8_t, sizeof(BCRYPT_ECCKEY_BLOB) + sizeof key> blob{};
    const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, static_cast<ULONG>(kP256FieldBytes)};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, key.data(), key.size());
    UniqueCngKey imported;
    if (!cngSucceeded(::BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, imported.put(),
                                            blob.data(), static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    // CNG takes its inputs as non-const pointers but does not change them.
    P256Signature rs = signature;
    Sha256Digest hashed = digest;
    return ::BCryptVerifySignature(imported.get(), nullptr, hashed.data(), static_cast<ULONG>(hashed.size()), rs.data(),
                                   static_cast<ULONG>(rs.size()), 0) == 0;
}

SignatureVerdict verifyListSignature(const std::wstring& listPath, ByteSpan derSignature,
                                     std::span<const P256PublicKey> keys) {
    const std::optional<P256Signature> signature = signatureFromDer(derSignature);
    if (!signature) {
        return SignatureVerdict::Malformed;
    }
    const std::optional<Sha256Digest> digest = sha256OfFile(listPath);
    if (!digest) {
        return SignatureVerdict::Unreadable;
    }
    for (const P256PublicKey& key : keys) {
        if (signedBy(*digest, *signature, key)) {
            return SignatureVerdict::Verified;
        }
    }
    return SignatureVerdict::NotSigned;
}
