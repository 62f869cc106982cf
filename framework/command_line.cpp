#include "framework/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t** argv) const { ::LocalFree(argv); }
};

}  // namespace

std::wstring firstPlainParameter(std::wstring_view commandLine) {
    const std::wstring text(commandLine);
    if (text.empty()) {
        return {};  // an empty text would make the platform parse this process's own command line
    }
    int count = 0;
    std::unique_ptr<wchar_t*, LocalFreeDeleter> argv(::CommandLineToArgvW(text.c_str(), &count));
    if (!argv) {
        return {};
    }
    for (int i = 1; i < count; ++i) {
        const wchar_t* argument = argv.get()[i];
        if (argument[0] != L'/' && argument[0] != L'-') {
            return argument;
        }
    }
    return {};
}

bool firstPlainParameterHolds(std::wstring_view commandLine, wchar_t c) {
    return commandLine.find(c) != std::wstring_view::npos &&
           firstPlainParameter(commandLine).find(c) != std::wstring::npos;
}
