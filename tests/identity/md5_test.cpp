#include "identity/md5.h"

#include "identity/md5_lanes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string hex(const Md5Digest& digest) {
    std::wstring text = digestText(digest);
    return std::string(text.begin(), text.end());
}

struct KnownAnswer {
    std::string input;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
TEST(Md5, Rfc1321TestSuite) {
    const KnownAnswer cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const KnownAnswer& c : cases) {
        EXPECT_EQ(hex(md5Of(c.input.data(), c.input.size())), c.digest) << "input \"" << c.input << "\"";
    }
}

std::vector<unsigned char> pattern(std::size_t n) {
    std::vector<unsigned char> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<unsigned char>(i % 251);
    }
    return bytes;
}

// Lengths where the padding just fits, spills into an extra block, or meets a block boundary.
TEST(Md5, PaddingBoundaries) {
    const std::pair<std::size_t, const char*> cases[] = {
        {55, "6912EE65FFF2D9F9CE2508CDDF8BCDA0"},  {56, "51FDD1ACDA72405DFDFA03FCB85896D7"},
        {57, "5320EF4C17EF34A0CF2DB763338D25EB"},  {63, "48A6295221902E8E0938F773A7185E72"},
        {64, "B2D3F56BC197FD985D5965079B5E7148"},  {65, "8BD7053801C768420FAF816FADBA971C"},
        {119, "1C772251899A7FF007400B888D6B2042"}, {120, "B7BA1EFC6022E9ED272F00B8831E26E6"},
        {127, "8402B21E7BC7906493BAE0DAC017F1F9"}, {128, "37EFF01866BA3F538421B30B7CBEFCAC"},
        {129, "46F986692847558FC38B0CECE591C20F"},
    };
    for (const auto& [length, digest] : cases) {
        const std::vector<unsigned char> bytes = pattern(length);
        EXPECT_EQ(hex(md5Of(bytes.data(), bytes.size())), digest) << length << " bytes";
    }
}

// Feeding the input in pieces of any size gives the digest of the whole.
TEST(Md5, PiecewiseUpdatesEqualOneShot) {
    const std::vector<unsigned char> bytes = pattern(1000);
    const Md5Digest whole = md5Of(bytes.data(), bytes.size());
    for (std::size_t piece : {1u, 3u, 55u, 63u, 64u, 65u, 127u, 999u}) {
        Md5 md5;
        for (std::size_t offset = 0; offset < bytes.size(); offset += piece) {
            md5.update(bytes.data() + offset, std::min(piece, bytes.size() - offset));
        }
        EXPECT_EQ(md5.finish(), whole) << "pieces of " << piece;
    }
}

// Several computations side by side give each the digest it gets alone, however many lanes
// are in use, with lanes that had hashed different amounts before and different bytes now.
TEST(Md5, LanesSideBySideEqualOneAtATime) {
    const std::size_t blockCounts[] = {0, 1, 2, 17};
    for (std::size_t count = 1; count <= kMd5Lanes; ++count) {
        for (std::size_t blocks : blockCounts) {
            Md5 lanes[kMd5Lanes];
            Md5 alone[kMd5Lanes];
            Md5* md5s[kMd5Lanes];
            const std::uint8_t* data[kMd5Lanes];
            std::vector<std::vector<unsigned char>> inputs;
            for (std::size_t i = 0; i < count; ++i) {
                std::vector<unsigned char> before = pattern(64 * i);
                lanes[i].update(before.data(), before.size());
                alone[i].update(before.data(), before.size());
                std::vector<unsigned char> bytes = pattern(64 * blocks + 7 * i);
                bytes.erase(bytes.begin(), bytes.begin() + 7 * i);  // another start in the pattern
                inputs.push_back(std::move(bytes));
                md5s[i] = &lanes[i];
            }
            for (std::size_t i = 0; i < count; ++i) {
                data[i] = inputs[i].data();
                alone[i].update(inputs[i].data(), inputs[i].size());
            }
            md5UpdateLanes(md5s, data, count, blocks);
            for (std::size_t i = 0; i < count; ++i) {
                // A tail after the lanes' blocks, as a file's last partial block.
                lanes[i].update("tail", 4);
                alone[i].update("tail", 4);
                EXPECT_EQ(lanes[i].finish(), alone[i].finish())
                    << "lane " << i << " of " << count << ", " << blocks << " blocks";
            }
        }
    }
}

TEST(Md5, DigestTextIsUpperCaseHex) {
    Md5Digest digest{};
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(i * 17);
    }
    EXPECT_EQ(digestText(digest), L"00112233445566778899AABBCCDDEEFF");
}

}  // namespace
