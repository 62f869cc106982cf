#include "common/start_program.h"

#include <windows.h>

#include <vector>

#include "common/unique_handle.h"

bool startProgram(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    // CreateProcessW may write into the command line: it gets a copy of its own.
    std::vector<wchar_t> commandLine(arguments.begin(), arguments.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                          nullptr, folder.c_str(), &startup, &started)) {
        return false;
    }
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    return true;
}
