#pragma once
// What every parsed item line keeps, whatever its text.
#include <string>

#include "common/fixed_text.h"
#include "fuzz/fuzz_check.h"
#include "update/list_path_rules.h"
#include "update/patch_list_item.h"

inline void checkItem(const PatchListItem& item) {
    // The file name is what follows the last "\" of the list path.
    FUZZ_CHECK(item.fileName.find(L'\\') == std::wstring::npos);
    FUZZ_CHECK(item.listPath.size() >= item.fileName.size());
    FUZZ_CHECK(item.listPath.compare(item.listPath.size() - item.fileName.size(), std::wstring::npos, item.fileName) ==
               0);
    // The directory is "\" + component for each kept component: no empty and no dropped one.
    if (!item.directory.empty()) {
        FUZZ_CHECK(item.directory.front() == L'\\');
        FUZZ_CHECK(item.directory.back() != L'\\');
        FUZZ_CHECK(item.directory.find(L"\\\\") == std::wstring::npos);
        FUZZ_CHECK((item.directory + L"\\").find(L"\\Test_mainfold\\") == std::wstring::npos);
    }
    FUZZ_CHECK(item.directory.size() <= item.listPath.size());
    // No field holds the separator.
    for (const std::wstring* field : {&item.kind, &item.listPath, &item.sizeText, &item.md5}) {
        FUZZ_CHECK(field->find(L',') == std::wstring::npos);
    }
    (void)readSizeText(item.sizeText);

    // An item the launcher acts on fits its fixed fields whole and stays inside its folder.
    if (isAcceptableItem(item)) {
        wchar_t field[260];
        FUZZ_CHECK(copyFixedText(field, item.listPath));
        FUZZ_CHECK(copyFixedText(field, item.directory));
        FUZZ_CHECK(copyFixedText(field, item.fileName));
        FUZZ_CHECK(item.listPath.find(L':') == std::wstring::npos);
        FUZZ_CHECK(item.directory.find(L"\\..\\") == std::wstring::npos);
        FUZZ_CHECK(!item.directory.ends_with(L"\\.."));
        FUZZ_CHECK(item.fileName != L"..");
    }
}
