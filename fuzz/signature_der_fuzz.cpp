// The DER readers of release signing on any bytes: a signature that reads is written back to
// exactly the same bytes (DER has one form for each value, and the reader takes no other), and
// a private key that reads has the one layout of a P-256 key.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_check.h"
#include "identity/ecdsa_p256.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteSpan input(data, size);
    if (const std::optional<P256Signature> signature = signatureFromDer(input)) {
        const std::string written = signatureToDer(*signature);
        FUZZ_CHECK(written.size() == size && std::memcmp(written.data(), data, size) == 0);
        FUZZ_CHECK(signatureFromDer(ByteSpan(reinterpret_cast<const std::uint8_t*>(written.data()), written.size())) ==
                   signature);
    }
    if (const std::optional<P256PrivateKey> key = privateKeyFromSec1(input)) {
        FUZZ_CHECK(size == 121);  // every field of such a key has one size
    }
    return 0;
}
