#pragma once
// What a list path must be for the list to carry it and the launcher to install its file.
#include <string>
#include <string_view>
#include <vector>

#include "publisher/refusal.h"

inline constexpr std::wstring_view kListSeparator = L"\\";

// A list path as written into the list: its text and its code page 936 bytes.
struct ListPathForm {
    std::wstring text;
    std::string bytes;
};

// Forms the list path of components (the list prefix's folders, the release's folders and
// the file name) joined by "\" and checks it. On refusal, refusal names subject and form is
// untouched.
[[nodiscard]] bool formListPath(const std::vector<std::wstring>& components, const std::string& subject,
                                ListPathForm& form, Refusal& refusal);

// Checks one name as formListPath does, without the length and launcher rules of whole paths.
[[nodiscard]] bool checkName(std::wstring_view name, const std::string& subject, Refusal& refusal);

// Checks a version text of the release or of a patch package: it must begin with a number
// (the launcher reads others as 0) and be printable ASCII without commas (the version line is
// read byte by byte, item fields end at commas). Warnings for a text that the launcher reads
// as another number than it shows (a trailing part it ignores, an overflow) are appended.
[[nodiscard]] bool checkVersionText(std::wstring_view version, const std::string& subject, Refusal& refusal,
                                    std::vector<std::string>& warnings);

// The character (one wide character, or a surrogate pair) in quotes with its "U+XXXX", for
// messages; control characters by their code alone.
std::string describeCharacter(std::wstring_view character);
