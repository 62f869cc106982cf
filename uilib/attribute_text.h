#pragma once
// Reading the attribute values of skin files and image descriptions. Pure text rules, no
// Windows services: "l,t,r,b" rectangles, "cx,cy" sizes, colours, flags, image descriptions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const UiRect&) const = default;
};

struct UiSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const UiSize&) const = default;
};

// "l,t,r,b": four signed integers separated by commas, blanks allowed around them. Missing
// trailing numbers read as 0; nothing when a part is not a number.
std::optional<UiRect> parseRect(std::wstring_view text);
// "cx,cy".
std::optional<UiSize> parseSize(std::wstring_view text);
// A signed decimal integer, surrounding blanks allowed.
std::optional<int> parseInt(std::wstring_view text);
// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or a decimal number, as 0xAARRGGBB.
std::optional<std::uint32_t> parseColor(std::wstring_view text);
// "true"/"false", "1"/"0", "yes"/"no", letter case ignored.
std::optional<bool> parseBool(std::wstring_view text);

// An image description: either a bare file name, or "file='...' source='l,t,r,b'
// corner='l,t,r,b' fade='0..255'" in any order. file is relative to the resource path.
struct ImageDescription {
    std::wstring file;
    std::optional<UiRect> source;  // part of the image to draw; the whole image when absent
    UiRect corner;                 // nine-grid borders that are not stretched
    std::uint8_t fade = 255;       // opacity
    bool operator==(const ImageDescription&) const = default;
};

// Nothing for an empty text or a malformed description (an unclosed quote, a bad number).
std::optional<ImageDescription> parseImageDescription(std::wstring_view text);

// Joins the resource folder and a skin-relative path: "/" becomes "\", runs of separators
// collapse into one (a leading "\\" of a network path stays), and an absolute path (drive
// letter or leading separator) is kept as it is.
std::wstring joinResourcePath(std::wstring_view folder, std::wstring_view relative);

// When a control's image attribute is first drawn: the state images (hot, pushed, focused,
// disabled) only once the user points at or works a control, the others with the first frame
// that shows the control. Nothing for an attribute that names no image.
enum class ImageNeed { FirstFrame, OnInput };
std::optional<ImageNeed> imageAttributeNeed(std::wstring_view attribute);
