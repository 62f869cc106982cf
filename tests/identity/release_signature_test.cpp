// Release signatures checked through CNG against what OpenSSL signed.
#include "identity/release_signature.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/signed_list.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace signed_list;

ByteSpan bytesOf(const std::string& text) {
    return ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

class ReleaseSignature : public testing::Test {
protected:
    SignatureVerdict verify(std::string_view list, const std::string& signature,
                            std::vector<P256PublicKey> keys = {kKeyA}) {
        writeFileBytes(listPath, list);
        return verifyListSignature(listPath, bytesOf(signature), keys);
    }

    TempDir dir;
    const std::wstring listPath = dir.path() + L"patchlist.dat";
};

std::string flipped(std::string_view text, std::size_t at) {
    std::string changed(text);
    changed[at] = static_cast<char>(changed[at] ^ 0x01);
    return changed;
}

TEST_F(ReleaseSignature, TheSignedListVerifies) {
    EXPECT_EQ(verify(kList, kSignatureByA), SignatureVerdict::Verified);
    EXPECT_EQ(verify(kList, kSignatureByB, {kKeyB}), SignatureVerdict::Verified);
}

TEST_F(ReleaseSignature, AnyChangeOrAnotherKeyIsNotSigned) {
    const std::size_t digit = kList.find("8B1A");
    EXPECT_EQ(verify(flipped(kList, digit), kSignatureByA), SignatureVerdict::NotSigned) << "one bit of a digest";
    EXPECT_EQ(verify(flipped(kList, kList.size() - 1), kSignatureByA), SignatureVerdict::NotSigned) << "the last byte";
    EXPECT_EQ(verify(std::string(kList) + "File,evil.dll,1,X\r\n", kSignatureByA), SignatureVerdict::NotSigned)
        << "a line added";
    // A bit of r's value (past the sequence, integer and length headers).
    EXPECT_EQ(verify(kList, flipped(kSignatureByA, 10)), SignatureVerdict::NotSigned);
    EXPECT_EQ(verify(kList, kSignatureByB), SignatureVerdict::NotSigned) << "signed by another key";
    EXPECT_EQ(verify(kList, kSignatureByA, {}), SignatureVerdict::NotSigned) << "no key";
}

TEST_F(ReleaseSignature, EveryBuiltInKeyIsTried) {
    EXPECT_EQ(verify(kList, kSignatureByB, {kKeyA, kKeyB}), SignatureVerdict::Verified) << "the second signed";
    EXPECT_EQ(verify(kList, kSignatureByA, {kKeyA, kKeyB}), SignatureVerdict::Verified) << "the first signed";
}

TEST_F(ReleaseSignature, WhatIsNoSignatureIsMalformed) {
    EXPECT_EQ(verify(kList, ""), SignatureVerdict::Malformed);
    EXPECT_EQ(verify(kList, kSignatureByA.substr(0, kSignatureByA.size() - 1)), SignatureVerdict::Malformed);
    EXPECT_EQ(verify(kList, kSignatureByA + '\0'), SignatureVerdict::Malformed) << "over-long";
    EXPECT_EQ(verify(kList, "<html>404 Not Found</html>"), SignatureVerdict::Malformed);
}

TEST_F(ReleaseSignature, AMissingListIsUnreadable) {
    EXPECT_EQ(verifyListSignature(dir.path() + L"none.dat", bytesOf(kSignatureByA), std::vector{kKeyA}),
              SignatureVerdict::Unreadable);
}

TEST(Sha256, OfAFile) {
    TempDir dir;
    const std::wstring path = dir.path() + L"abc.txt";
    writeFileBytes(path, "abc");
    const std::optional<Sha256Digest> digest = sha256OfFile(path);
    ASSERT_TRUE(digest.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(digest->begin(), digest->end()),
              bytesOfHex("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    // Larger than one read, so that the parts are hashed in order.
    writeFileBytes(path, std::string(200000, 'a'));
    const std::optional<Sha256Digest> large = sha256OfFile(path);
    ASSERT_TRUE(large.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(large->begin(), large->end()),
              bytesOfHex("2287d207f24a941ff3b56c04c8a25ad56b63e3023207b3bb5b4ac0c9869d74be"));
}

}  // namespace
