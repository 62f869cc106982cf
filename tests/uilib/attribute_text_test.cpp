#include "uilib/attribute_text.h"
#include "common/ascii_case.h"

#include <gtest/gtest.h>

namespace {

TEST(AttributeText, ReadsRectanglesSizesAndNumbers) {
    EXPECT_EQ(parseRect(L"1,2,3,4"), (UiRect{1, 2, 3, 4}));
    EXPECT_EQ(parseRect(L" 10 , -2,3 ,4 "), (UiRect{10, -2, 3, 4}));
    EXPECT_EQ(parseRect(L"1000,750"), (UiRect{1000, 750, 0, 0}));
    EXPECT_FALSE(parseRect(L"1,2,3,4,5"));
    EXPECT_FALSE(parseRect(L"1,x,3,4"));
    EXPECT_FALSE(parseRect(L"1,,3,4"));
    EXPECT_EQ(parseSize(L"400,200"), (UiSize{400, 200}));
    EXPECT_EQ(parseInt(L"-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(parseInt(L"2147483648"));
    EXPECT_FALSE(parseInt(L""));
    EXPECT_FALSE(parseInt(L"12a"));
}

TEST(AttributeText, ReadsColours) {
    EXPECT_EQ(parseColor(L"#FF336699"), 0xFF336699u);
    EXPECT_EQ(parseColor(L"#336699"), 0xFF336699u);
    EXPECT_EQ(parseColor(L"0x80ffffff"), 0x80FFFFFFu);
    EXPECT_EQ(parseColor(L"4294967295"), 0xFFFFFFFFu);
    EXPECT_FALSE(parseColor(L"#12345"));
    EXPECT_FALSE(parseColor(L"#GG336699"));
    EXPECT_FALSE(parseColor(L"4294967296"));
    EXPECT_EQ(parseBool(L"TRUE"), true);
    EXPECT_EQ(parseBool(L"0"), false);
    EXPECT_FALSE(parseBool(L"maybe"));
}

TEST(ImageDescription, ReadsTheFormsTheSkinsUse) {
    auto image = parseImageDescription(L"file='res\\Lobbex\\ColorSkin\\2\\bkg.jpg' corner='1000,750,1,1'");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->file, L"res\\Lobbex\\ColorSkin\\2\\bkg.jpg");
    EXPECT_EQ(image->corner, (UiRect{1000, 750, 1, 1}));
    EXPECT_FALSE(image->source);

    image = parseImageDescription(L"file='LobbexUpdate\\tooltip.png' source='16,0,32,16'");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->source, (UiRect{16, 0, 32, 16}));
    EXPECT_EQ(image->fade, 255);

    image = parseImageDescription(L"  source=\"0,0,16,16\" fade='128'   file=\"a b.png\" ");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->file, L"a b.png");
    EXPECT_EQ(image->fade, 128);

    image = parseImageDescription(L"res/Lobbex/MessageBox/title.jpg");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->file, L"res/Lobbex/MessageBox/title.jpg");
}

TEST(ImageDescription, RefusesMalformedDescriptions) {
    for (const wchar_t* text : {L"", L"   ", L"file='a.png", L"file=a.png", L"source='1,2,3,4'",
                                L"file='a.png' corner='1,x'", L"file='a.png' fade='256'", L"file='a.png' =''"}) {
        EXPECT_FALSE(parseImageDescription(text)) << static_cast<const void*>(text);
    }
}

TEST(ResourcePath, JoinsWithOneSeparatorEach) {
    EXPECT_EQ(joinResourcePath(L"C:\\Game\\", L"res//Lobbex//MessageBox/MessageBox.xml"),
              L"C:\\Game\\res\\Lobbex\\MessageBox\\MessageBox.xml");
    EXPECT_EQ(joinResourcePath(L"C:\\Game", L"LobbexUpdate//LobbexUpdate.xml"),
              L"C:\\Game\\LobbexUpdate\\LobbexUpdate.xml");
    EXPECT_EQ(joinResourcePath(L"C:\\Game\\", L"D:\\skins\\a.xml"), L"D:\\skins\\a.xml");
    EXPECT_EQ(joinResourcePath(L"\\\\server\\share\\", L"a.png"), L"\\\\server\\share\\a.png");
}

TEST(AttributeText, ComparesNamesWithoutLetterCase) {
    EXPECT_TRUE(equalsIgnoringAsciiCase(L"WebBrowserEx", L"webbrowserEX"));
    EXPECT_FALSE(equalsIgnoringAsciiCase(L"Button", L"Buttons"));
}

TEST(AttributeText, ImageAttributesAndWhenTheyAreDrawn) {
    struct Case {
        const wchar_t* attribute;
        std::optional<ImageNeed> need;
    };
    const Case cases[] = {
        {L"bkimage", ImageNeed::FirstFrame},
        {L"normalimage", ImageNeed::FirstFrame},
        {L"foreimage", ImageNeed::FirstFrame},
        {L"arrowimage", ImageNeed::FirstFrame},
        {L"selectedimage", ImageNeed::FirstFrame},
        {L"hotimage", ImageNeed::OnInput},
        {L"pushedimage", ImageNeed::OnInput},
        {L"focusedimage", ImageNeed::OnInput},
        {L"disabledimage", ImageNeed::OnInput},
        {L"selectedhotimage", ImageNeed::OnInput},
        {L"bkcolor", std::nullopt},
        {L"image", std::nullopt},
        {L"BkImage", std::nullopt},  // the controls read attribute names as they are written
        {L"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(imageAttributeNeed(c.attribute), c.need) << std::wstring(c.attribute).size();
    }
}

}  // namespace
