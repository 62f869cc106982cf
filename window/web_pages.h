#pragma once
// The platform's web pages: links opened in the default browser, and the pages shown in the
// skin's browser controls (advertisement, QQ and WeChat logon, registration).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/color_skin.h"
#include "settings/color_skin_choice.h"
#include "window/skin_controls.h"
#include "window/web_urls.h"

class WebPages {
public:
    // openLink opens a link in the default browser (ShellExecuteW when empty).
    WebPages(const SkinControls& skin, std::function<void(const std::wstring&)> openLink)
        : skin_(skin), openLink_(std::move(openLink)) {}

    void openLink(WebLink kind) const;
    // The user's colour skin, which the advertisement page is told.
    void setColorSkin(ColorSkinChoice colors) { colors_ = colors; }
    const ColorSkinChoice& colorSkin() const { return colors_; }

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
    ColorSkinChoice colors_{kPlainColorSkin, kNoSkinColor};
    bool qqPageLoaded_ = false;
    bool registerPageLoaded_ = false;
};
