// Downloads one URL into a fresh file with the launcher's downloadFile:
//   download_bench.exe URL FILE
// Output: "<bytes> <seconds>".
#include <windows.h>

#include <cstdio>

#include "update/update_engine.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: download_bench URL FILE\n");
        return 2;
    }
    ::DeleteFileW(argv[2]);
    UpdateEngine engine;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const int result = engine.downloadFile(argv[1], argv[2]);
    ::QueryPerformanceCounter(&end);
    if (result != 0) {
        std::fwprintf(stderr, L"download failed\n");
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(argv[2], GetFileExInfoStandard, &data);
    const unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    std::wprintf(L"%llu %.6f\n", bytes, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return 0;
}
