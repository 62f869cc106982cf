#include "uilib/render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "uilib/gdi_handles.h"
#include "uilib/image_loader.h"
#include "uilib/paint_manager.h"

namespace {

// A 32-bit top-down DIB selected into a memory DC, for reading back what was drawn.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), dc_(::CreateCompatibleDC(nullptr)) {
        void* bits = nullptr;
        bitmap_ = createPixelBitmap(width, height, bits);
        bits_ = static_cast<std::uint32_t*>(bits);
        previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~Canvas() { unselect(); }
    // Lets the bitmap be drawn from another DC (a bitmap is selected into one DC at a time).
    void unselect() {
        if (previous_ != nullptr) {
            ::SelectObject(dc_.get(), previous_);
            previous_ = nullptr;
        }
    }
    HDC dc() const { return dc_.get(); }
    std::uint32_t rgb(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    void set(int x, int y, std::uint32_t argb) { bits_[y * width_ + x] = argb; }
    HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }

private:
    int width_;
    UniqueMemoryDc dc_;
    UniqueGdiObject bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST(NineGrid, KeepsCornersAndStretchesTheMiddle) {
    NineGridPiece pieces[9];
    ASSERT_EQ(nineGridPieces(UiRect{0, 0, 30, 30}, UiRect{10, 10, 10, 10}, UiRect{0, 0, 100, 50}, pieces), 9);
    EXPECT_EQ(pieces[0].from, (UiRect{0, 0, 10, 10}));
    EXPECT_EQ(pieces[0].to, (UiRect{0, 0, 10, 10}));
    EXPECT_EQ(pieces[4].from, (UiRect{10, 10, 20, 20}));
    EXPECT_EQ(pieces[4].to, (UiRect{10, 10, 90, 40}));
    EXPECT_EQ(pieces[8].to, (UiRect{90, 40, 100, 50}));
}

TEST(NineGrid, ColourSkinCornersShowTheImageTopLeftUnscaled) {
    // corner='1000,750,1,1' on a 1000x750 background drawn into a 400x200 box.
    NineGridPiece pieces[9];
    ASSERT_EQ(nineGridPieces(UiRect{0, 0, 1000, 750}, UiRect{1000, 750, 1, 1}, UiRect{0, 0, 400, 200}, pieces), 1);
    EXPECT_EQ(pieces[0].from, (UiRect{0, 0, 400, 200}));
    EXPECT_EQ(pieces[0].to, (UiRect{0, 0, 400, 200}));
    // Where the corners take the whole image, a larger window keeps the rest for its colour.
    ASSERT_EQ(nineGridPieces(UiRect{0, 0, 100, 80}, UiRect{1000, 750, 1, 1}, UiRect{0, 0, 150, 100}, pieces), 1);
    EXPECT_EQ(pieces[0].to, (UiRect{0, 0, 100, 80}));
    EXPECT_EQ(nineGridPieces(UiRect{0, 0, 0, 10}, UiRect{}, UiRect{0, 0, 10, 10}, pieces), 0);
}

TEST(Render, DrawsTheSourcePartOfAnImage) {
    // A 2x1 image: left pixel red, right pixel blue; the description picks the right one.
    Canvas image(2, 1);
    image.set(0, 0, 0xFFFF0000);
    image.set(1, 0, 0xFF0000FF);
    image.unselect();
    Canvas target(10, 10);
    const UiImage picture{image.bitmap(), 2, 1};
    const RECT all{0, 0, 10, 10};
    drawImage(target.dc(), picture, all, UiRect{1, 0, 2, 1}, UiRect{}, 255);
    EXPECT_EQ(target.rgb(0, 0), 0x0000FFu);
    EXPECT_EQ(target.rgb(9, 9), 0x0000FFu);
}

// An opaque image is copied where it is drawn unscaled; the copy must look exactly like the blend,
// scaled or not, nine-grid or not, faded or not.
TEST(Render, OpaqueImagesLookTheSameCopiedAsBlended) {
    Canvas source(6, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            source.set(x, y,
                       0xFF000000u | static_cast<std::uint32_t>(x * 40) << 16 | static_cast<std::uint32_t>(y * 60));
        }
    }
    source.unselect();
    struct Case {
        const char* name;
        RECT dest;
        UiRect from;
        UiRect corner;
        std::uint8_t fade;
    };
    const Case cases[] = {
        {"unscaled", RECT{1, 1, 7, 5}, UiRect{0, 0, 6, 4}, UiRect{}, 255},
        {"a part", RECT{0, 0, 3, 2}, UiRect{2, 1, 5, 3}, UiRect{}, 255},
        {"stretched", RECT{0, 0, 12, 8}, UiRect{0, 0, 6, 4}, UiRect{}, 255},
        {"nine-grid", RECT{0, 0, 12, 7}, UiRect{0, 0, 6, 4}, UiRect{2, 1, 2, 1}, 255},
        {"faded", RECT{1, 1, 7, 5}, UiRect{0, 0, 6, 4}, UiRect{}, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas copied(12, 8);
        Canvas blended(12, 8);
        fillColor(copied.dc(), RECT{0, 0, 12, 8}, 0xFF336699);
        fillColor(blended.dc(), RECT{0, 0, 12, 8}, 0xFF336699);
        drawImage(copied.dc(), UiImage{source.bitmap(), 6, 4, true}, c.dest, c.from, c.corner, c.fade);
        drawImage(blended.dc(), UiImage{source.bitmap(), 6, 4, false}, c.dest, c.from, c.corner, c.fade);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 12; ++x) {
                ASSERT_EQ(copied.rgb(x, y), blended.rgb(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(Render, FillsWithAlpha) {
    Canvas target(4, 4);
    fillColor(target.dc(), RECT{0, 0, 4, 4}, 0xFFFFFFFF);
    fillColor(target.dc(), RECT{0, 0, 2, 4}, 0x80000000);
    EXPECT_EQ(target.rgb(3, 0), 0xFFFFFFu);
    const std::uint32_t half = target.rgb(0, 0);
    EXPECT_GE(half & 0xFF, 0x7Eu);
    EXPECT_LE(half & 0xFF, 0x81u);
    fillColor(target.dc(), RECT{2, 0, 4, 4}, 0x00000000);
    EXPECT_EQ(target.rgb(3, 0), 0xFFFFFFu);
}

TEST(ImageLoader, DecodesPngAndJpegAndCachesByPath) {
    const std::wstring folder = CPaintManagerUI::GetInstancePath();
    UiImage jpeg;
    ASSERT_TRUE(decodeImageFile(folder + L"res\\Lobbex\\ColorSkin\\0\\bkg.jpg", jpeg));
    EXPECT_EQ(jpeg.width, 1000);
    EXPECT_EQ(jpeg.height, 750);
    EXPECT_TRUE(jpeg.opaque);
    ::DeleteObject(jpeg.bitmap);

    ImageCache cache;
    const UiImage* png = cache.Get(folder + L"res\\Lobbex\\MessageBox\\close_normal.png");
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->width, 32);
    EXPECT_FALSE(png->opaque) << "a close button drawn on a transparent ground";
    EXPECT_EQ(cache.Get(folder + L"res\\Lobbex\\MessageBox\\close_normal.png"), png);
    EXPECT_EQ(cache.Get(folder + L"res\\missing.png"), nullptr);
    EXPECT_EQ(cache.Get(folder + L"res\\Lobbex\\MessageBox\\MessageBox.xml"), nullptr);
    EXPECT_EQ(cache.Size(), 3u);
}

// What is decoded ahead is what Get would have decoded: the same images, the same failures,
// whichever order Get asks in and whether or not the thread has got to a file yet.
TEST(ImageLoader, ImagesDecodedAheadAreTheImagesOfTheirFiles) {
    const std::wstring folder = CPaintManagerUI::GetInstancePath() + L"res\\Lobbex\\";
    const std::wstring files[] = {
        L"ColorSkin\\0\\bkg.jpg",         L"MessageBox\\close_normal.png", L"MessageBox\\missing.png",
        L"MessageBox\\MessageBox.xml",    L"MessageBox\\button_hot.png",   L"MessageBox\\title.jpg",
        L"MessageBox\\button_normal.png",
    };
    ImageCache cache;
    bool soon = true;
    for (const std::wstring& file : files) {
        cache.Prefetch(folder + file, soon);
        cache.Prefetch(folder + file, !soon);  // a second request changes nothing
        soon = !soon;
    }
    cache.StartLaterImages();
    for (auto file = std::rbegin(files); file != std::rend(files); ++file) {
        SCOPED_TRACE(std::string(file->begin(), file->end()));
        UiImage direct;
        const bool decodes = decodeImageFile(folder + *file, direct);
        const UiImage* cached = cache.Get(folder + *file);
        ASSERT_EQ(cached != nullptr, decodes);
        if (decodes) {
            EXPECT_EQ(cached->opaque, direct.opaque);
            EXPECT_EQ(cached->width, direct.width);
            EXPECT_EQ(cached->height, direct.height);
            const LONG bytes = direct.width * direct.height * 4;
            std::vector<std::uint8_t> expected(static_cast<std::size_t>(bytes));
            std::vector<std::uint8_t> got(static_cast<std::size_t>(bytes));
            EXPECT_EQ(::GetBitmapBits(direct.bitmap, bytes, expected.data()), bytes);
            EXPECT_EQ(::GetBitmapBits(cached->bitmap, bytes, got.data()), bytes);
            EXPECT_EQ(got, expected);
            ::DeleteObject(direct.bitmap);
        }
        EXPECT_EQ(cache.Get(folder + *file), cached);
    }
    EXPECT_EQ(cache.Size(), std::size(files));
}

TEST(ImageLoader, ACacheGoesWhileItsThreadHasWorkLeft) {
    const std::wstring folder = CPaintManagerUI::GetInstancePath() + L"res\\Lobbex\\";
    for (int round = 0; round < 20; ++round) {
        ImageCache cache;
        cache.Prefetch(folder + L"ColorSkin\\0\\bkg.jpg", true);
        cache.Prefetch(folder + L"ColorSkin\\1\\bkg.jpg", false);
        cache.Prefetch(folder + L"MessageBox\\title.jpg", true);
        if (round % 2 == 1) {
            EXPECT_NE(cache.Get(folder + L"MessageBox\\title.jpg"), nullptr);
        }
    }
}

}  // namespace
