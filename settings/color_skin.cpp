#include "settings/color_skin.h"

#include <cwchar>

ColorSkinBackground colorSkinBackground(std::uint32_t skinType, std::uint32_t skinColor) {
    ColorSkinBackground background;
    if (skinType != kPlainColorSkin) {
        wchar_t text[96];
        std::swprintf(text, 96, L"file='res\\Lobbex\\ColorSkin\\%d\\bkg.jpg' corner='1000,750,1,1'",
                      static_cast<int>(static_cast<std::int32_t>(skinType - 1u)));
        background.kind = ColorSkinBackground::Kind::Image;
        background.image = text;
    } else if (skinColor != kNoSkinColor) {
        background.kind = ColorSkinBackground::Kind::Color;
        background.color = skinColor;
    }
    return background;
}
