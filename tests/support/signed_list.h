#pragma once
// A version list signed with two throwaway keys by `openssl dgst -sha256 -sign` (their private
// halves were not kept): the public keys in the launcher's X‖Y form and the DER signatures.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "identity/ecdsa_p256.h"

namespace signed_list {

// Version 2.0 with one file, bin\GameCore.dll holding "Hello".
inline constexpr std::string_view kList =
    "[VERSION]\r\n2.0\r\n[PatchList]\r\nFile,bin\\GameCore.dll,5,8B1A9953C4611296A827ABF8C47804D7\r\n";
inline constexpr std::string_view kFileContent = "Hello";

inline std::vector<std::uint8_t> bytesOfHex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

inline std::string textOfHex(std::string_view hex) {
    const std::vector<std::uint8_t> bytes = bytesOfHex(hex);
    return std::string(bytes.begin(), bytes.end());
}

inline P256PublicKey keyOfHex(std::string_view hex) {
    P256PublicKey key{};
    const std::vector<std::uint8_t> bytes = bytesOfHex(hex);
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

inline const P256PublicKey kKeyA = keyOfHex(
    "52bcef947892d09d9a563f0c8e1945f0d4189c0f88f18a646c35a94e01906d5f"
    "1a56ff1fbe680ec056a98b50b3998a30799b9b2ede868ade6f798ebaea22c034");
inline const P256PublicKey kKeyB = keyOfHex(
    "ce847e4271bbbff7afee505bf947190288bea4afe9dce5f3c3e6a8f776c3664c"
    "f585d27c2575fa1cc4db9c288f2f9133e96b2a478fb372293a41cb0f27f6f1be");

inline const std::string kSignatureByA = textOfHex(
    "3046022100dff6eefacb17b62fadc0674c88eb7d217938d77181826bb87af0a10654cff7a2"
    "022100e4f9288260da00d456a7c7843ec63268eb6916b1433ae1bd1bba7fe189094471");
inline const std::string kSignatureByB = textOfHex(
    "30450220151b6510fd56b765d26b22f84afd2039dd4ee84b2de4f07727ebbdfc77d5c0ee"
    "022100eaacb41e4d03584fe770266345fbac46ecc4c8c02421be09ca54851535dac6ba");

}  // namespace signed_list
