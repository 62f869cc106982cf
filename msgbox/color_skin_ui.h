#pragma once
#include <cstdint>

class CControlUI;

// Gives a skin's background control the user's colour skin (nothing when control is null).
void applyColorSkin(CControlUI* control, std::uint32_t skinType, std::uint32_t skinColor);
