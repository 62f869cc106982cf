#pragma once
#include <string>
#include <string_view>

// The first plain parameter of a command line (one that does not begin with "/" or "-"),
// after the program name; empty when there is none. Quoting follows the platform's rules.
std::wstring firstPlainParameter(std::wstring_view commandLine);
// Whether the first plain parameter holds c. A command line without c anywhere is not parsed:
// parsing needs the shell's library, which a plain start would otherwise load before its window.
bool firstPlainParameterHolds(std::wstring_view commandLine, wchar_t c);
