#include "publisher/publish_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "publisher/platform_text.h"
#include "update/list_path_rules.h"
#include "update/patch_list_item.h"
#include "update/version_number.h"

namespace {

Refusal refuse(RefusalKind kind, const std::string& subject, std::string reason) {
    return Refusal{kind, subject, std::move(reason)};
}

// The characters of text one by one: one unit each, or a surrogate pair where wide
// characters are UTF-16 units.
template <typename Visit>
bool everyCharacter(std::wstring_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        if (sizeof(wchar_t) == 2 && text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            length = 2;
        }
        if (!visit(text.substr(i, length))) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string inQuotes(std::wstring_view text) {
    std::string quoted = "\"";
    quoted.append(utf8Text(text)).push_back('"');
    return quoted;
}

}  // namespace

std::string describeCharacter(std::wstring_view character) {
    std::uint32_t value = static_cast<std::uint32_t>(character.at(0));
    if (character.size() == 2) {
        value = 0x10000 + ((value - 0xD800) << 10) + (static_cast<std::uint32_t>(character[1]) - 0xDC00);
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(value));
    if (value < 0x20) {
        return code;
    }
    return inQuotes(character) + " (" + code + ")";
}

bool checkName(std::wstring_view name, const std::string& subject, Refusal& refusal) {
    if (name.empty()) {
        refusal = refuse(RefusalKind::NotWindowsName, subject, "a name cannot be empty");
        return false;
    }
    if (name.find(L',') != std::wstring_view::npos) {
        refusal = refuse(RefusalKind::Comma, subject,
                         "a comma cannot be carried in the list: its fields end at commas and it has no quoting");
        return false;
    }
    const NameFault fault = nameFault(name);
    if (fault == NameFault::ControlCharacter || fault == NameFault::NotInWindowsNames) {
        const wchar_t c = *std::find_if(name.begin(), name.end(), isNotInWindowsNames);
        refusal = refuse(
            RefusalKind::NotWindowsName, subject,
            "the name holds " + describeCharacter(std::wstring_view(&c, 1)) + ", which Windows file names cannot hold");
        return false;
    }
    for (wchar_t c : name) {
        if (c == L'#' || c == L'%') {
            refusal = refuse(RefusalKind::UrlCharacter, subject,
                             "the name holds " + describeCharacter(std::wstring_view(&c, 1)) +
                                 ": the launcher requests files by URLs it does not escape, where " +
                                 (c == L'#' ? "\"#\" ends the path" : "\"%\" starts an escape"));
            return false;
        }
    }
    switch (fault) {
        case NameFault::DotsOnly:
        case NameFault::TrailingDotOrBlank:
            refusal = refuse(RefusalKind::TrailingDotOrBlank, subject,
                             std::string("the name ends in ") + (name.back() == L'.' ? "a dot" : "a blank") +
                                 ", which Windows drops from file names");
            return false;
        case NameFault::DeviceName:
            refusal = refuse(RefusalKind::DeviceName, subject,
                             inQuotes(name) + " names a device on Windows; no file can have that name");
            return false;
        case NameFault::LauncherName:
            refusal = refuse(RefusalKind::LauncherName, subject,
                             "the name holds \"" + utf8Text(kOwnNameMark) +
                                 "\", which marks the launcher's own downloads and the programs it replaces");
            return false;
        default:
            break;
    }
    return everyCharacter(name, [&](std::wstring_view c) {
        const std::optional<std::string> bytes = encodeCodePage936(c);
        if (!bytes) {
            refusal = refuse(RefusalKind::NotCodePage936, subject,
                             "the name holds " + describeCharacter(c) +
                                 ", which code page 936 cannot represent; the launcher reads list paths in it");
            return false;
        }
        if (bytes->find('\\') != std::string::npos) {
            refusal = refuse(RefusalKind::BackslashByte, subject,
                             "the name holds " + describeCharacter(c) +
                                 ", whose code page 936 form contains the byte of \"\\\"; the launcher turns that "
                                 "byte into \"/\" when it requests the file");
            return false;
        }
        return true;
    });
}

bool formListPath(const std::vector<std::wstring>& components, const std::string& subject, ListPathForm& form,
                  Refusal& refusal) {
    std::wstring text;
    for (const std::wstring& component : components) {
        if (!checkName(component, subject, refusal)) {
            return false;
        }
        if (!text.empty()) {
            text.append(kListSeparator);
        }
        text.append(component);
    }
    if (text.size() > kMaxEntryPathLength) {
        refusal = refuse(RefusalKind::TooLong, subject,
                         "the list path is " + std::to_string(text.size()) +
                             " characters long; the launcher takes at most " + std::to_string(kMaxEntryPathLength));
        return false;
    }
    // The launcher's own reading of the line is the last word.
    const std::wstring line = std::wstring(kFileKind) + L"," + text + L",0,X";
    const PatchListItem item = parseItemLine(line, 0);
    const ItemFault fault = itemFault(item);
    if (fault == ItemFault::ListFileName) {
        refusal = refuse(RefusalKind::ListFileName, subject,
                         "the launcher keeps the list it downloads and its signature as " + utf8Text(kPatchListName) +
                             " and " + utf8Text(kPatchListSignatureName) +
                             " in its folder and would overwrite this file with them");
        return false;
    }
    if (item.listPath != text || fault != ItemFault::None) {
        refusal = refuse(RefusalKind::LauncherRefuses, subject, "the launcher refuses the list path " + inQuotes(text));
        return false;
    }
    std::optional<std::string> bytes = encodeCodePage936(text);
    if (!bytes) {
        refusal = refuse(RefusalKind::NotCodePage936, subject, "code page 936 cannot represent " + inQuotes(text));
        return false;
    }
    form.text = std::move(text);
    form.bytes = std::move(*bytes);
    return true;
}

bool checkVersionText(std::wstring_view version, const std::string& subject, Refusal& refusal,
                      std::vector<std::string>& warnings) {
    const bool plain = everyCharacter(version, [&](std::wstring_view c) {
        if (c[0] < 0x20 || c[0] > 0x7E || c[0] == L',') {
            refusal = refuse(
                RefusalKind::VersionNotAscii, subject,
                "a version is written in printable ASCII characters without commas, not " + describeCharacter(c));
            return false;
        }
        return true;
    });
    if (!plain) {
        return false;
    }
    const std::size_t length = versionNumberLength(version);
    if (length == 0) {
        refusal = refuse(RefusalKind::VersionNotANumber, subject,
                         "the version " + inQuotes(version) +
                             " does not begin with a number; the launcher would read it as 0. Write a decimal "
                             "number such as 1.26");
        return false;
    }
    const float value = readVersionNumber(version);
    if (length < version.size()) {
        char number[64];
        std::snprintf(number, sizeof number, "%g", static_cast<double>(value));
        warnings.push_back(subject + ": the launcher reads the version " + inQuotes(version) + " as the number " +
                           number + " and ignores " + inQuotes(version.substr(length)));
    } else if (!std::isfinite(value)) {
        warnings.push_back(subject + ": the version " + inQuotes(version) +
                           " is too large for the launcher, which reads it as infinity");
    }
    return true;
}
