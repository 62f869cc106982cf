// The DER forms of P-256 signatures and private keys, as OpenSSL writes them.
#include "identity/ecdsa_p256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> bytesOfHex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// Written by `openssl dgst -sha256 -sign`: r and s both with the high bit set (a zero before
// each), and r of 32 bytes with s of 33.
constexpr std::string_view kPaddedBoth =
    "3046022100dff6eefacb17b62fadc0674c88eb7d217938d77181826bb87af0a10654cff7a2"
    "022100e4f9288260da00d456a7c7843ec63268eb6916b1433ae1bd1bba7fe189094471";
constexpr std::string_view kPaddedS =
    "30450220151b6510fd56b765d26b22f84afd2039dd4ee84b2de4f07727ebbdfc77d5c0ee"
    "022100eaacb41e4d03584fe770266345fbac46ecc4c8c02421be09ca54851535dac6ba";

TEST(EcdsaP256, OpenSslSignaturesReadAsRAndS) {
    const std::optional<P256Signature> both = signatureFromDer(bytesOfHex(kPaddedBoth));
    ASSERT_TRUE(both.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(both->begin(), both->begin() + 32),
              bytesOfHex("dff6eefacb17b62fadc0674c88eb7d217938d77181826bb87af0a10654cff7a2"));
    EXPECT_EQ(std::vector<std::uint8_t>(both->begin() + 32, both->end()),
              bytesOfHex("e4f9288260da00d456a7c7843ec63268eb6916b1433ae1bd1bba7fe189094471"));
    for (std::string_view hex : {kPaddedBoth, kPaddedS}) {
        const std::optional<P256Signature> read = signatureFromDer(bytesOfHex(hex));
        ASSERT_TRUE(read.has_value()) << hex;
        EXPECT_EQ(bytesOf(signatureToDer(*read)), bytesOfHex(hex)) << "written back as OpenSSL wrote it";
    }
}

TEST(EcdsaP256, ShortIntegersAreRightAligned) {
    P256Signature signature{};
    signature[31] = 0x05;      // r = 5
    signature[32 + 2] = 0x7F;  // s starts two zero bytes in, high bit clear
    const std::string der = signatureToDer(signature);
    EXPECT_EQ(bytesOf(der), bytesOfHex("30230201050"
                                       "21e7f" +
                                       std::string(58, '0')));
    const std::optional<P256Signature> back = signatureFromDer(bytesOf(der));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, signature);
}

TEST(EcdsaP256, MalformedSignaturesAreRefused) {
    const std::string good(kPaddedS);
    const std::string r = "0220151b6510fd56b765d26b22f84afd2039dd4ee84b2de4f07727ebbdfc77d5c0ee";
    const std::string s = "022100eaacb41e4d03584fe770266345fbac46ecc4c8c02421be09ca54851535dac6ba";
    const std::string cases[] = {
        "",
        good.substr(0, good.size() - 2),                 // truncated: one byte short
        good + "00",                                     // over-long: a byte after the value
        "3046" + r + s,                                  // the sequence claims a byte it has not
        "3044" + r + s.substr(0, s.size() - 2),          // s cut inside the sequence
        "3048" + r + s + "020101",                       // a third integer
        "308145" + r + s,                                // a long length for a short value
        "3145" + r + s,                                  // a set, not a sequence
        "3046" + r + s + "00",                           // a byte after s inside the sequence
        "3026022100" + std::string(64, '1') + "020101",  // a zero DER does not write
        "30250220f" + std::string(63, '1') + "020101",   // negative r
        "3006020100020101",                              // r = 0
        "300702010102810100",                            // s with a long-form length
        "3026022101" + std::string(64, '0') + "020101",  // r of 33 bytes without sign padding
        "300702010103020101",                            // s not an integer
        "3003020101",                                    // s missing
    };
    for (const std::string& hex : cases) {
        EXPECT_FALSE(signatureFromDer(bytesOfHex(hex)).has_value()) << hex;
    }
}

// A DER element of a short content given in hexadecimal.
std::string element(const std::string& tag, const std::string& content) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t bytes = content.size() / 2;  // below 128: the short form
    return tag + kHex[bytes >> 4] + kHex[bytes & 15] + content;
}

// An ECPrivateKey as `openssl ecparam -name prime256v1 -genkey` lays it out, with a made-up
// secret and point (nothing here checks that the point belongs to the secret).
std::string sec1Key(const std::string& version, const std::string& curve, bool withPoint) {
    const std::string secret = element("04", std::string(62, 'a') + "01");
    const std::string parameters = element("a0", element("06", curve));
    const std::string point = element("a1", element("03", "0004" + std::string(64, 'b') + std::string(64, 'c')));
    return element("30", element("02", version) + secret + parameters + (withPoint ? point : ""));
}

TEST(EcdsaP256, PrivateKeysOfTheCurveAreRead) {
    const std::string prime256v1 = "2a8648ce3d030107";
    const std::optional<P256PrivateKey> key = privateKeyFromSec1(bytesOfHex(sec1Key("01", prime256v1, true)));
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->d[0], 0xAA);
    EXPECT_EQ(key->d[31], 0x01);
    EXPECT_EQ(key->publicKey[0], 0xBB);
    EXPECT_EQ(key->publicKey[32], 0xCC);

    EXPECT_FALSE(privateKeyFromSec1(bytesOfHex(sec1Key("02", prime256v1, true))).has_value()) << "version 2";
    EXPECT_FALSE(privateKeyFromSec1(bytesOfHex(sec1Key("01", "2b81040022", true))).has_value()) << "P-384";
    EXPECT_FALSE(privateKeyFromSec1(bytesOfHex(sec1Key("01", prime256v1, false))).has_value()) << "no point";
    const std::vector<std::uint8_t> whole = bytesOfHex(sec1Key("01", prime256v1, true));
    EXPECT_FALSE(privateKeyFromSec1(ByteSpan(whole).first(whole.size() - 1)).has_value()) << "truncated";
}

TEST(DerReader, LengthsInTheirShortestFormOnly) {
    struct Case {
        std::string hex;
        bool read;
        std::size_t contentBytes;
    };
    const Case cases[] = {
        {"0400", true, 0},
        {"04027f7f", true, 2},
        {"04817f" + std::string(0x7F * 2, '0'), false, 0},  // 127 bytes fit the short form
        {"048180" + std::string(0x80 * 2, '0'), true, 0x80},
        {"048200ff" + std::string(0xFF * 2, '0'), false, 0},  // 255 bytes fit one length byte
        {"04820100" + std::string(0x100 * 2, '0'), true, 0x100},
        {"0480", false, 0},        // indefinite length
        {"0483010000", false, 0},  // three length bytes
        {"0403ffff", false, 0},    // longer than the input
        {"04", false, 0},
        {"0200", false, 0},  // another tag
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> input = bytesOfHex(c.hex);
        DerReader reader(input);
        ByteSpan value;
        ASSERT_EQ(reader.read(der::kOctetString, value), c.read) << c.hex.substr(0, 12);
        if (c.read) {
            EXPECT_EQ(value.size(), c.contentBytes);
            EXPECT_TRUE(reader.done());
        }
    }
}

}  // namespace
