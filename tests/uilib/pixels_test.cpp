#include "uilib/pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

TEST(Pixels, SignaturesChooseTheDecoder) {
    struct Case {
        std::vector<std::uint8_t> head;
        ImageFormat format;
    };
    const Case cases[] = {
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}, ImageFormat::Png},
        {{0xFF, 0xD8, 0xFF, 0xE0}, ImageFormat::Jpeg},
        {{0xFF, 0xD8, 0xFF}, ImageFormat::Jpeg},
        {{'B', 'M', 0x36, 0x00}, ImageFormat::Other},
        {{'G', 'I', 'F', '8', '9', 'a'}, ImageFormat::Other},
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A}, ImageFormat::Other},        // cut short
        {{0x89, 'P', 'N', 'G', '\n', '\n', 0x1A, '\n'}, ImageFormat::Other},  // a line end mangled
        {{0xFF, 0xD8}, ImageFormat::Other},
        {{}, ImageFormat::Other},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sniffImageFormat(c.head), c.format) << c.head.size() << " bytes";
    }
}

TEST(Pixels, PremultipliesToTheNearestValue) {
    struct Case {
        std::uint8_t channel, alpha, expected;
    };
    const Case cases[] = {
        {255, 255, 255}, {0, 255, 0},   {200, 255, 200},  // opaque: unchanged
        {255, 0, 0},     {17, 0, 0},                      // clear: black
        {255, 128, 128}, {255, 1, 1},   {1, 128, 1},      // 128.5 and 0.502 round up
        {1, 127, 0},     {100, 51, 20}, {254, 254, 253},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(premultiplyChannel(c.channel, c.alpha), c.expected) << int(c.channel) << " at alpha " << int(c.alpha);
    }
}

TEST(Pixels, RowsOfPixelsKeepTheirAlphaAndOrder) {
    std::array<std::uint8_t, 12> bgra{10, 20, 30, 255, 200, 100, 50, 128, 255, 255, 255, 0};
    EXPECT_FALSE(allOpaque(bgra.data(), 3));
    EXPECT_TRUE(allOpaque(bgra.data(), 1));
    EXPECT_FALSE(premultiplyBgra(bgra.data(), 3));
    EXPECT_EQ(bgra, (std::array<std::uint8_t, 12>{10, 20, 30, 255, 100, 50, 25, 128, 0, 0, 0, 0}));
    std::array<std::uint8_t, 8> opaque{1, 2, 3, 255, 4, 5, 6, 255};
    EXPECT_TRUE(premultiplyBgra(opaque.data(), 2));
    EXPECT_EQ(opaque, (std::array<std::uint8_t, 8>{1, 2, 3, 255, 4, 5, 6, 255}));
    EXPECT_TRUE(allOpaque(opaque.data(), 0));

    const std::array<std::uint8_t, 6> bgr{1, 2, 3, 4, 5, 6};
    std::array<std::uint8_t, 8> wide{};
    widenBgr(bgr.data(), wide.data(), 2);
    EXPECT_EQ(wide, (std::array<std::uint8_t, 8>{1, 2, 3, 255, 4, 5, 6, 255}));
}

}  // namespace
