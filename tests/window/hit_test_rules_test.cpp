#include "window/hit_test_rules.h"

#include <gtest/gtest.h>

namespace {

// A 600x400 window at (100, 50) with a caption band 30 high (10 left and right of it
// excluded) and sizing bands of 4.
const EdgeRect kWindow{100, 50, 700, 450};
const EdgeRect kCaption{10, 0, 10, 30};
const EdgeRect kSizeBox{4, 4, 4, 4};

int at(int x, int y, bool overControl = false, bool maximised = false, EdgeRect sizeBox = kSizeBox) {
    return hitTestCode(kWindow, kCaption, sizeBox, x, y, maximised, [&] { return overControl; });
}

TEST(HitTest, CaptionBandDragsUnlessAControlIsUnderThePoint) {
    EXPECT_EQ(at(300, 60), kHitCaption);
    EXPECT_EQ(at(300, 60, true), kHitUndecided);
    EXPECT_EQ(at(300, 79), kHitCaption);
    EXPECT_EQ(at(300, 80), kHitUndecided);  // below the band
    EXPECT_EQ(at(300, 52), kHitTop) << "the sizing band wins over the caption";
    EXPECT_EQ(at(689, 60), kHitCaption);
    EXPECT_EQ(at(690, 60), kHitUndecided) << "right of the band";
    EXPECT_EQ(at(109, 60), kHitUndecided) << "left of the band";
}

TEST(HitTest, EdgesAndCorners) {
    const std::tuple<int, int, int> cases[] = {
        {96, 200, kHitLeft},         {103, 200, kHitLeft},      {104, 200, kHitUndecided}, {699, 200, kHitRight},
        {703, 200, kHitRight},       {704, 200, kHitUndecided}, {300, 46, kHitTop},        {300, 53, kHitTop},
        {300, 447, kHitBottom},      {101, 51, kHitTopLeft},    {698, 51, kHitTopRight},   {101, 448, kHitBottomLeft},
        {698, 448, kHitBottomRight}, {300, 300, kHitUndecided},
    };
    for (const auto& [x, y, code] : cases) {
        EXPECT_EQ(at(x, y), code) << x << "," << y;
    }
}

TEST(HitTest, MaximisedWindowHasNoSizingEdges) {
    EXPECT_EQ(at(150, 51, false, true), kHitCaption);
    EXPECT_EQ(at(101, 300, false, true), kHitUndecided);
    EXPECT_EQ(at(698, 448, false, true), kHitUndecided);
}

TEST(HitTest, WithoutASizeBoxOnlyTheFourPixelsOutsideResize) {
    const EdgeRect none{};
    EXPECT_EQ(at(100, 200, false, false, none), kHitUndecided);
    EXPECT_EQ(at(99, 200, false, false, none), kHitLeft);
    EXPECT_EQ(at(300, 449, false, false, none), kHitUndecided);
}

}  // namespace
