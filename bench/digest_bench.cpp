// Digests one file with fileDigest and prints the time it took:
//   digest_bench.exe FILE [REPEATS]
// Output: "<digest> <bytes> <seconds>" of the fastest repeat.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "identity/file_digest.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: digest_bench FILE [REPEATS]\n");
        return 2;
    }
    const int repeats = argc > 2 ? _wtoi(argv[2]) : 3;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    std::wstring digest;
    for (int i = 0; i < repeats; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        digest = fileDigest(argv[1]);
        ::QueryPerformanceCounter(&end);
        const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        best = seconds < best ? seconds : best;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(argv[1], GetFileExInfoStandard, &data);
    const unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    std::wprintf(L"%ls %llu %.6f\n", digest.c_str(), bytes, best);
    return 0;
}
