#include "settings/color_skin.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorSkin, PictureColourOrTheSkinsOwn) {
    ColorSkinBackground b = colorSkinBackground(3, kNoSkinColor);
    EXPECT_EQ(b.kind, ColorSkinBackground::Kind::Image);
    EXPECT_EQ(b.image, L"file='res\\Lobbex\\ColorSkin\\2\\bkg.jpg' corner='1000,750,1,1'");
    EXPECT_EQ(colorSkinBackground(3, 0x12345678).kind, ColorSkinBackground::Kind::Image) << "a picture wins";

    EXPECT_EQ(colorSkinBackground(0, 0).image, L"file='res\\Lobbex\\ColorSkin\\-1\\bkg.jpg' corner='1000,750,1,1'");
    EXPECT_EQ(colorSkinBackground(0x80000000u, 0).image,
              L"file='res\\Lobbex\\ColorSkin\\2147483647\\bkg.jpg' corner='1000,750,1,1'");

    b = colorSkinBackground(kPlainColorSkin, 0xFF336699);
    EXPECT_EQ(b.kind, ColorSkinBackground::Kind::Color);
    EXPECT_EQ(b.color, 0xFF336699u);

    EXPECT_EQ(colorSkinBackground(kPlainColorSkin, kNoSkinColor).kind, ColorSkinBackground::Kind::Keep);
}

}  // namespace
