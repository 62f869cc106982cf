// Start-up figures of a GUI program: starts it under the debugging API, as many times as asked,
// and times from the process start to the debug-output lines it writes at its milestones
// ("first paint", "update finished"). Prints, for each milestone seen, the best and the median
// milliseconds over the runs:
//   startup_bench.exe RUNS MILESTONES PROGRAM [ARGUMENTS]
// MILESTONES is a comma-separated list of texts to wait for, such as "first paint,update finished".
// The program is ended once every milestone has been seen.
//   startup_bench.exe --hold FILE MILESTONE PROGRAM [ARGUMENTS]
// runs the program once and, when it reaches the milestone, keeps it stopped there: it writes
// FILE (its first line the milliseconds) and waits until FILE is deleted (at most 60 s), so that
// a script can take a screenshot of exactly what the program had painted by then.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> splitMilestones(const std::wstring& text) {
    std::vector<std::string> milestones;
    std::string current;
    for (wchar_t c : text) {
        if (c == L',') {
            milestones.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(c));  // milestones are ASCII
        }
    }
    milestones.push_back(current);
    return milestones;
}

std::string readDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const SIZE_T units = info.nDebugStringLength;
    if (units == 0 || units > 4096) {
        return {};
    }
    const SIZE_T unitSize = info.fUnicode ? 2 : 1;
    std::vector<char> bytes(units * unitSize);
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), bytes.size(), &read)) {
        return {};
    }
    std::string text;
    for (SIZE_T i = 0; i + unitSize <= read; i += unitSize) {
        text.push_back(bytes[i]);  // milestones are ASCII: the low byte is enough
    }
    return text;
}

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Holds the stopped program while FILE exists: written now, deleted by the script.
void holdUntilDeleted(const std::wstring& file, double at) {
    FILE* out = _wfopen(file.c_str(), L"w");
    if (out == nullptr) {
        return;
    }
    std::fprintf(out, "%.0f\n", at);
    std::fclose(out);
    for (int waited = 0; waited < 60000 && ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
         waited += 20) {
        ::Sleep(20);
    }
}

// One run: the milliseconds at which each milestone was seen, or an empty vector. With a hold
// file, the program stays stopped at the first milestone until the file is gone.
std::vector<double> runOnce(const std::wstring& commandLine, const std::wstring& folder,
                            const std::vector<std::string>& milestones, const std::wstring& holdFile = {}) {
    std::vector<double> seen(milestones.size(), -1.0);
    std::size_t seenCount = 0;
    std::vector<wchar_t> command(commandLine.begin(), commandLine.end());
    command.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start{};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                          folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", ::GetLastError());
        return {};
    }
    bool ended = false;
    bool terminating = false;
    while (!ended) {
        DEBUG_EVENT event{};
        if (!::WaitForDebugEvent(&event, 60000)) {
            std::fprintf(stderr, "no milestone within 60 s\n");
            ::TerminateProcess(process.hProcess, 1);
            terminating = true;
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile != nullptr) {
                    ::CloseHandle(event.u.CreateProcessInfo.hFile);
                }
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile != nullptr) {
                    ::CloseHandle(event.u.LoadDll.hFile);
                }
                break;
            case EXCEPTION_DEBUG_EVENT:
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;  // the program's own handlers decide
                }
                break;
            case OUTPUT_DEBUG_STRING_EVENT: {
                const double at = millisecondsSince(start);
                const std::string text = readDebugString(process.hProcess, event.u.DebugString);
                for (std::size_t i = 0; i < milestones.size(); ++i) {
                    if (seen[i] < 0 && text.find(milestones[i]) != std::string::npos) {
                        seen[i] = at;
                        ++seenCount;
                        if (!holdFile.empty()) {
                            holdUntilDeleted(holdFile, at);
                        }
                    }
                }
                if (seenCount == milestones.size() && !terminating) {
                    ::TerminateProcess(process.hProcess, 0);
                    terminating = true;
                }
                break;
            }
            case EXIT_PROCESS_DEBUG_EVENT:
                ended = true;
                break;
            default:
                break;
        }
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (seenCount != milestones.size()) {
        return {};
    }
    return seen;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // "--hold FILE" stands where RUNS would: one run, held at its milestone.
    std::wstring holdFile;
    int runs = 1;
    if (argc >= 2 && std::wstring(argv[1]) == L"--hold" && argc >= 3) {
        holdFile = argv[2];
        ++argv;
        --argc;
    } else if (argc >= 2) {
        runs = std::max(1, _wtoi(argv[1]));
    }
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: startup_bench RUNS MILESTONES PROGRAM [ARGUMENTS]\n"
                     "       startup_bench --hold FILE MILESTONE PROGRAM [ARGUMENTS]\n");
        return 2;
    }
    const std::vector<std::string> milestones = splitMilestones(argv[2]);
    std::wstring commandLine = L"\"" + std::wstring(argv[3]) + L"\"";
    for (int i = 4; i < argc; ++i) {
        commandLine += L" ";
        commandLine += argv[i];
    }
    std::wstring folder = argv[3];
    const std::size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? L"." : folder.substr(0, slash);

    std::vector<std::vector<double>> times(milestones.size());
    for (int run = 0; run < runs; ++run) {
        const std::vector<double> seen = runOnce(commandLine, folder, milestones, holdFile);
        if (seen.empty()) {
            return 1;
        }
        for (std::size_t i = 0; i < seen.size(); ++i) {
            times[i].push_back(seen[i]);
        }
    }
    for (std::size_t i = 0; i < milestones.size(); ++i) {
        std::vector<double>& t = times[i];
        std::sort(t.begin(), t.end());
        std::printf("%s: best %.0f ms, median %.0f ms\n", milestones[i].c_str(), t.front(), t[t.size() / 2]);
    }
    return 0;
}
