// Prints the text the lobby client stores for a password, for the scripts that remember an
// account in a prefix's registry:
//   lobbex-stored-string.exe PASSWORD
#include <cstdio>

#include "settings/stored_string.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: lobbex-stored-string PASSWORD\n");
        return 2;
    }
    std::wprintf(L"%ls\n", EncodeStoredString(argv[1]).c_str());
    return 0;
}
