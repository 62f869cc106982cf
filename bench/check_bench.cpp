// Checks an installation against its list with the launcher's checkFiles:
//   check_bench.exe FOLDER
// FOLDER holds the installation and "patchlist.src", which is copied to "patchlist.dat"
// before the check (the check deletes it). Output: "<queued> <seconds>".
#include <windows.h>

#include <cstdio>
#include <string>

#include "update/update_engine.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: check_bench FOLDER\n");
        return 2;
    }
    UpdateEngine engine;
    engine.exeDir = argv[1];
    if (engine.exeDir.back() != L'\\') {
        engine.exeDir.push_back(L'\\');
    }
    ::CopyFileW((engine.exeDir + L"patchlist.src").c_str(), engine.patchListPath().c_str(), FALSE);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const UpdateResult result = engine.checkFiles();
    ::QueryPerformanceCounter(&end);
    if (result == VersionError) {
        std::fwprintf(stderr, L"the list could not be read\n");
        return 1;
    }
    std::wprintf(L"%zu %.6f\n", engine.fileQueue.size(),
                 double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return 0;
}
