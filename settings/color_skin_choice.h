#pragma once
// The colour skin the user chose in the lobby client, read from its registry key
// (InterfaceType and InterfaceColor under Option\Interface).
#include <cstdint>

struct ColorSkinChoice {
    std::uint32_t type = 0;
    std::uint32_t color = 0;
};

// The user's choice; a value (or the whole key) that is missing takes the given default.
ColorSkinChoice readColorSkinChoice(ColorSkinChoice defaults);
