#pragma once
// The library's own control classes by skin element name (letter case ignored).
#include <string_view>

class CControlUI;

// A new control for a skin element name; null when the library has no such class.
CControlUI* createBuiltinControl(std::wstring_view elementName);
