#pragma once
#include <string>
#include <string_view>

// The first plain parameter of a command line (one that does not begin with "/" or "-"),
// after the program name; empty when there is none. Quoting follows the platform's rules.
std::wstring firstPlainParameter(std::wstring_view commandLine);
