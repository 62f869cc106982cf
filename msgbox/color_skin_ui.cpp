#include "msgbox/color_skin_ui.h"

#include "settings/color_skin.h"
#include "uilib/control.h"

void applyColorSkin(CControlUI* control, std::uint32_t skinType, std::uint32_t skinColor) {
    if (control == nullptr) {
        return;
    }
    const ColorSkinBackground background = colorSkinBackground(skinType, skinColor);
    switch (background.kind) {
        case ColorSkinBackground::Kind::Image:
            control->SetAttribute(L"bkimage", background.image);
            break;
        case ColorSkinBackground::Kind::Color:
            control->SetBkImage(L"");
            control->SetBkColor(background.color);
            control->NeedUpdate();
            break;
        case ColorSkinBackground::Kind::Keep:
            break;
    }
}
