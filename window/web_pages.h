#pragma once
// The platform's web pages: links opened in the default browser, and the pages shown in the
// skin's browser controls (advertisement, QQ and WeChat logon, registration).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "window/skin_controls.h"
#include "window/web_urls.h"

// The user's colour skin, which the advertisement page is told.
struct ColorSkin {
    std::uint32_t type = 0xFFFF;
    std::uint32_t color = 0xFFFFFFFF;
};

class WebPages {
public:
    // openLink opens a link in the default browser (ShellExecuteW when empty).
    WebPages(const SkinControls& skin, std::function<void(const std::wstring&)> openLink)
        : skin_(skin), openLink_(std::move(openLink)) {}

    void openLink(WebLink kind) const;
    void setColorSkin(ColorSkin colors) { colors_ = colors; }
    const ColorSkin& colorSkin() const { return colors_; }

    // The advertisement page in the named browser control, shown.
    void showAds(std::wstring_view controlName) const;
    // The QQ logon page, loaded once.
    void showQQLogon(std::wstring_view controlName);
    // The WeChat logon page, loaded again on every visit.
    void showWeChatLogon() const;
    // The registration page, loaded once.
    void showRegister(std::wstring_view controlName);
    // The pages loaded at start-up: the advertisement and the QQ logon.
    void loadStartupPages();

    bool qqPageLoaded() const { return qqPageLoaded_; }

private:
    const SkinControls& skin_;
    std::function<void(const std::wstring&)> openLink_;
    ColorSkin colors_;
    bool qqPageLoaded_ = false;
    bool registerPageLoaded_ = false;
};
