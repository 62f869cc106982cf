#pragma once
// What every parsed item line keeps, whatever its text.
#include <string>

#include "common/fixed_text.h"
#include "fuzz/fuzz_check.h"
#include "update/list_path_rules.h"
#include "update/local_path.h"
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

    // An item the launcher acts on fits its fixed fields whole, and the path the file
    // functions get from its entry names a plain file inside the installation.
    if (isAcceptableItem(item)) {
        const UpdateFileEntry entry = makeEntry(item);
        FUZZ_CHECK(fixedTextView(entry.listPath) == item.listPath);
        FUZZ_CHECK(fixedTextView(entry.directory) == item.directory);
        FUZZ_CHECK(fixedTextView(entry.fileName) == item.fileName);

        constexpr std::wstring_view root = L"C:\\Game\\";
        const std::wstring path = entryLocalPath(root, entry);
        FUZZ_CHECK(path.starts_with(root));
        std::wstring_view rest = std::wstring_view(path).substr(root.size());
        bool fileName = false;
        while (!fileName) {
            const std::size_t cut = rest.find(L'\\');
            fileName = cut == std::wstring_view::npos;
            const std::wstring_view name = rest.substr(0, cut);
            // Only the doubled separator after the root leaves an empty name.
            if (!name.empty() || fileName) {
                FUZZ_CHECK(nameFault(name) == NameFault::None);
            }
            rest.remove_prefix(fileName ? rest.size() : cut + 1);
        }
        // Nothing in it is cleaned up on the way: the file functions get exactly these names.
        FUZZ_CHECK(extendedLengthPath(path) == L"\\\\?\\C:\\Game" + item.directory + L"\\" + item.fileName);
    }
}
