#include "update/list_path_rules.h"

#include <cstdint>

#include "common/ascii_case.h"

namespace {

constexpr std::wstring_view kNotInWindowsNames = L"<>:\"/\\|?*";

bool isControl(wchar_t c) noexcept {
    return static_cast<std::uint32_t>(c) < 0x20;
}

bool isDotsOnly(std::wstring_view name) noexcept {
    bool dot = false;
    for (wchar_t c : name) {
        if (c == L'.') {
            dot = true;
        } else if (c != L' ') {
            return false;
        }
    }
    return dot;
}

bool hasControlCharacter(std::wstring_view text) noexcept {
    for (wchar_t c : text) {
        if (isControl(c)) {
            return true;
        }
    }
    return false;
}

bool isBlankText(std::wstring_view text) noexcept {
    for (wchar_t c : text) {
        if (c != L' ' && c != L'\t') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool isNotInWindowsNames(wchar_t c) noexcept {
    return isControl(c) || kNotInWindowsNames.find(c) != std::wstring_view::npos;
}

bool isDeviceName(std::wstring_view name) noexcept {
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') {
        base.remove_suffix(1);
    }
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (equalsIgnoringAsciiCase(base, device)) {
            return true;
        }
    }
    if (base.size() != 4 ||
        !(equalsIgnoringAsciiCase(base.substr(0, 3), L"COM") || equalsIgnoringAsciiCase(base.substr(0, 3), L"LPT"))) {
        return false;
    }
    // Windows takes the superscript digits for device numbers as well.
    const wchar_t number = base[3];
    return (number >= L'1' && number <= L'9') || number == L'\u00B9' || number == L'\u00B2' || number == L'\u00B3';
}

NameFault nameFault(std::wstring_view name) noexcept {
    if (name.empty()) {
        return NameFault::Empty;
    }
    if (hasControlCharacter(name)) {
        return NameFault::ControlCharacter;
    }
    for (wchar_t c : name) {
        if (isNotInWindowsNames(c)) {
            return NameFault::NotInWindowsNames;
        }
    }
    if (isDotsOnly(name)) {
        return NameFault::DotsOnly;
    }
    if (name.back() == L'.' || name.back() == L' ') {
        return NameFault::TrailingDotOrBlank;
    }
    if (isDeviceName(name)) {
        return NameFault::DeviceName;
    }
    if (containsIgnoringAsciiCase(name, kOwnNameMark)) {
        return NameFault::LauncherName;
    }
    return NameFault::None;
}

bool isBlankItem(const PatchListItem& item) noexcept {
    return isBlankText(item.kind) && item.listPath.empty() && item.sizeText.empty() && item.md5.empty();
}

ItemFault itemFault(const PatchListItem& item) {
    if (item.listPath.size() > kMaxEntryPathLength || item.fileName.size() > kMaxEntryPathLength ||
        item.directory.size() > kMaxEntryPathLength) {
        return ItemFault::TooLong;
    }
    for (const std::wstring* field : {&item.kind, &item.listPath, &item.sizeText, &item.md5}) {
        if (hasControlCharacter(*field)) {
            return ItemFault::ControlCharacter;
        }
    }
    // Every name of the list path, the file name (after the last "\") included; empty names
    // between doubled separators are skipped by the reading, except the file name.
    std::wstring_view rest = item.listPath;
    for (;;) {
        const std::size_t cut = rest.find(L'\\');
        const std::wstring_view name = rest.substr(0, cut);
        const bool last = cut == std::wstring_view::npos;
        if ((last || !name.empty()) && nameFault(name) != NameFault::None) {
            return ItemFault::BadName;
        }
        if (last) {
            break;
        }
        rest.remove_prefix(cut + 1);
    }
    if (item.directory.empty() && (equalsIgnoringAsciiCase(item.fileName, kPatchListName) ||
                                   equalsIgnoringAsciiCase(item.fileName, kPatchListSignatureName))) {
        return ItemFault::ListFileName;
    }
    return ItemFault::None;
}
