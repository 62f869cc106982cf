#include "msgbox/message_box_rules.h"

#include <gtest/gtest.h>

namespace {

// Labels of the three buttons as the box shows them: "-" hidden, "*" the skin's own label.
std::wstring describe(std::uint32_t style) {
    const MessageBoxButtonSet set = messageBoxButtons(style);
    std::wstring text;
    for (const MessageBoxButton& button : set.buttons) {
        if (!text.empty()) {
            text += L"|";
        }
        text += !button.visible ? std::wstring(L"-") : button.label ? std::wstring(*button.label) : std::wstring(L"*");
    }
    return text;
}

TEST(MessageBoxButtons, EachStyleShowsItsLabels) {
    const std::pair<std::uint32_t, std::wstring> cases[] = {
        {0, L"-|确定|-"},  {1, L"确定|取消|*"}, {2, L"中止|重试|忽略"}, {3, L"是|否|取消"},
        {4, L"是|否|-"},   {5, L"重试|取消|-"}, {6, L"-|确定|-"},       {9, L"-|确定|-"},
        {15, L"-|确定|-"}, {0x14, L"是|否|-"},  {0x15, L"重试|取消|-"}, {0xFFFFFFF3, L"是|否|取消"},
    };
    for (const auto& [style, expected] : cases) {
        EXPECT_EQ(describe(style), expected) << "style " << style;
    }
}

TEST(MessageBoxResults, FollowTheControlNotItsLabel) {
    EXPECT_EQ(messageBoxResultFor(L"closebtn"), 1u);
    EXPECT_EQ(messageBoxResultFor(L"button0"), 6u);
    EXPECT_EQ(messageBoxResultFor(L"button1"), 7u);
    EXPECT_EQ(messageBoxResultFor(L"button2"), 2u);
    for (const wchar_t* other : {L"Button0", L"button3", L"title", L"", L"closeBtn"}) {
        EXPECT_FALSE(messageBoxResultFor(other).has_value());
    }
}

TEST(MessageBoxResults, SystemAnswersMapToButtonPositions) {
    EXPECT_EQ(messageBoxResultFromSystem(0, 1), 7u);  // OK is the middle button
    EXPECT_EQ(messageBoxResultFromSystem(1, 1), 6u);  // OK, Cancel
    EXPECT_EQ(messageBoxResultFromSystem(1, 2), 7u);
    EXPECT_EQ(messageBoxResultFromSystem(2, 5), 2u);  // Ignore
    EXPECT_EQ(messageBoxResultFromSystem(3, 2), 2u);  // Cancel of Yes/No/Cancel
    EXPECT_EQ(messageBoxResultFromSystem(4, 6), 6u);
    EXPECT_EQ(messageBoxResultFromSystem(0x14, 7), 7u);
    EXPECT_EQ(messageBoxResultFromSystem(5, 4), 6u);  // Retry
    EXPECT_EQ(messageBoxResultFromSystem(4, 0), 1u);  // closed otherwise
}

TEST(MessageBoxResults, EnterAnswersWithTheFirstButtonShown) {
    const std::pair<std::uint32_t, unsigned> cases[] = {
        {0, 7u}, {1, 6u}, {2, 6u}, {3, 6u}, {4, 6u}, {5, 6u}, {9, 7u}, {0x14, 6u},
    };
    for (const auto& [style, expected] : cases) {
        EXPECT_EQ(messageBoxDefaultResult(style), expected) << "style " << style;
    }
}

TEST(MessageBoxDragBand, IsTheTopBandWithoutItsLastFiftyPixels) {
    // A 400-pixel-wide client area.
    EXPECT_TRUE(inMessageBoxDragBand(0, 400, 1, 0));
    EXPECT_TRUE(inMessageBoxDragBand(0, 400, 200, 49));
    EXPECT_TRUE(inMessageBoxDragBand(0, 400, 349, 10));
    EXPECT_FALSE(inMessageBoxDragBand(0, 400, 0, 10));
    EXPECT_FALSE(inMessageBoxDragBand(0, 400, 350, 10));
    EXPECT_FALSE(inMessageBoxDragBand(0, 400, 380, 10));
    EXPECT_FALSE(inMessageBoxDragBand(0, 400, 200, 50));
}

}  // namespace
