#include "settings/color_skin_choice.h"

#include "settings/platform_reg_key.h"

ColorSkinChoice readColorSkinChoice(ColorSkinChoice defaults) {
    CPlatformRegKey key;
    if (!key.Open(L"Lobbex", L"Option\\Interface", false)) {
        return defaults;
    }
    return {key.QueryDword(L"InterfaceType", defaults.type), key.QueryDword(L"InterfaceColor", defaults.color)};
}
