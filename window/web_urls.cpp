#include "window/web_urls.h"

#include "common/ascii_case.h"

namespace {

// Built into a buffer of 256 characters: longer texts are cut there.
std::wstring bounded(std::wstring text) {
    if (text.size() > 255) {
        text.resize(255);
    }
    return text;
}

std::wstring join(std::wstring_view base, std::wstring_view path) {
    std::wstring url(base);
    url.append(path);
    return bounded(std::move(url));
}

}  // namespace

std::wstring webLinkUrl(int kind, std::wstring_view base, std::wstring_view serviceChatUrl) {
    switch (kind) {
        case 1:
            return join(base, L"");
        case 2:
            return join(base, L"//Register.aspx");
        case 3:
            return join(base, L"//Pay/Pay.aspx");
        case 4:
            return bounded(std::wstring(serviceChatUrl));
        case 5:
            return join(base, L"/Member/ReLogonPass.aspx");
        default:
            return {};
    }
}

std::wstring adsPageUrl(std::wstring_view base, int x, int y, std::uint32_t skinType, std::uint32_t skinColor) {
    const bool plainColour = skinType == 0xFFFF;
    // The colour and the folder number are signed: a colour with its top bit set is negative.
    const auto colour = static_cast<std::int32_t>(plainColour ? skinColor : skinType - 1);
    return join(base, L"//ads/LogonLogo.aspx?point=" + std::to_wstring(x) + L"," + std::to_wstring(y) + L"&skinType=" +
                          std::to_wstring(plainColour ? 1 : 0) + L"&dwColor=" + std::to_wstring(colour));
}

std::wstring qqLogonPageUrl(std::wstring_view base) {
    return join(base, L"//qlogin.aspx");
}
std::wstring weChatLogonPageUrl(std::wstring_view base) {
    return join(base, L"//wxlogin.aspx");
}
std::wstring registerPageUrl(std::wstring_view base) {
    return join(base, L"//Register.aspx");
}

bool isPlatformPage(std::wstring_view url, std::wstring_view base) {
    while (!base.empty() && base.back() == L'/') {
        base.remove_suffix(1);
    }
    if (base.empty() || url.size() < base.size() || !equalsIgnoringAsciiCase(url.substr(0, base.size()), base)) {
        return false;
    }
    const std::wstring_view rest = url.substr(base.size());
    return rest.empty() || rest.front() == L'/' || rest.front() == L'?' || rest.front() == L'#';
}
