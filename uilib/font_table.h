#pragma once
// The fonts of one skin by number. A font names one or more faces separated by ";"; the first
// installed one is used, then the built-in fallbacks for Chinese text, then the system's GUI
// font.
#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "uilib/gdi_handles.h"

struct FontSpec {
    std::wstring faces;  // "微软雅黑;Microsoft YaHei"
    int size = 12;       // character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class FontTable {
public:
    // Adds or replaces font id; isDefault makes it the font of controls that name none.
    void Add(int id, const FontSpec& spec, bool isDefault);
    // The font with that id, else the default font; never null.
    HFONT Get(int id);
    // The face a font spec resolves to on this system.
    static std::wstring ResolveFace(std::wstring_view faces);

private:
    HFONT Create(const FontSpec& spec);

    std::map<int, UniqueGdiObject> fonts_;
    int defaultId_ = -1;
    UniqueGdiObject fallback_;
};

// The faces tried after the skin's own, in order.
const std::vector<std::wstring>& fallbackFaces();
