#include "uilib/font_table.h"

#include <cwchar>
#include <functional>
#include <map>
#include <mutex>

namespace {

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) {
        return false;
    }
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(query.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &query, &noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

std::vector<std::wstring> splitFaces(std::wstring_view faces) {
    std::vector<std::wstring> names;
    std::size_t start = 0;
    while (start <= faces.size()) {
        std::size_t end = faces.find(L';', start);
        if (end == std::wstring_view::npos) {
            end = faces.size();
        }
        std::wstring_view name = faces.substr(start, end - start);
        while (!name.empty() && name.front() == L' ') {
            name.remove_prefix(1);
        }
        while (!name.empty() && name.back() == L' ') {
            name.remove_suffix(1);
        }
        if (!name.empty()) {
            names.emplace_back(name);
        }
        start = end + 1;
    }
    return names;
}

}  // namespace

const std::vector<std::wstring>& fallbackFaces() {
    static const std::vector<std::wstring> faces = {
        L"\u5FAE\u8F6F\u96C5\u9ED1",  // 微软雅黑
        L"Microsoft YaHei",          L"\u5B8B\u4F53", L"SimSun", L"WenQuanYi Micro Hei", L"Segoe UI", L"Tahoma",
    };
    return faces;
}

std::wstring FontTable::ResolveFace(std::wstring_view faces) {
    // A skin names the same faces for most of its fonts, and each face asked for is a search of
    // the system's fonts: the answer is kept for the process (fonts are not installed under a
    // running launcher's feet).
    static std::mutex lock;
    static std::map<std::wstring, std::wstring, std::less<>> resolved;
    {
        const std::lock_guard<std::mutex> guard(lock);
        const auto known = resolved.find(faces);
        if (known != resolved.end()) {
            return known->second;
        }
    }
    std::wstring found;
    for (const std::wstring& face : splitFaces(faces)) {
        if (faceInstalled(face)) {
            found = face;
            break;
        }
    }
    for (const std::wstring& face : fallbackFaces()) {
        if (!found.empty()) {
            break;
        }
        if (faceInstalled(face)) {
            found = face;
        }
    }
    const std::lock_guard<std::mutex> guard(lock);
    resolved.emplace(std::wstring(faces), found);
    return found;
}

HFONT FontTable::Create(const FontSpec& spec) {
    LOGFONTW font{};
    font.lfHeight = -spec.size;
    font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = spec.italic;
    font.lfUnderline = spec.underline;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = ResolveFace(spec.faces);
    if (face.empty()) {
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}

void FontTable::Add(int id, const FontSpec& spec, bool isDefault) {
    HFONT font = Create(spec);
    if (font == nullptr) {
        return;
    }
    // Stock objects are not ours to delete.
    if (font == ::GetStockObject(DEFAULT_GUI_FONT)) {
        fonts_.erase(id);
    } else {
        fonts_[id].reset(font);
    }
    if (isDefault || defaultId_ < 0) {
        defaultId_ = id;
    }
}

HFONT FontTable::Get(int id) {
    auto it = fonts_.find(id);
    if (it == fonts_.end()) {
        it = fonts_.find(defaultId_);
    }
    if (it != fonts_.end()) {
        return static_cast<HFONT>(it->second.get());
    }
    if (!fallback_) {
        fallback_.reset(Create(FontSpec{}));
        if (fallback_.get() == ::GetStockObject(DEFAULT_GUI_FONT)) {
            fallback_.release();
            return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        }
    }
    return static_cast<HFONT>(fallback_.get());
}
