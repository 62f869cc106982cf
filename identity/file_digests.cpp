#include "identity/file_digests.h"

#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

#include "identity/file_digest.h"

unsigned digestThreads() {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : (processors < 4 ? processors : 4);
}

std::vector<std::wstring> fileDigests(const std::vector<std::wstring>& paths, unsigned threads) {
    // Mapping a large file ahead pays only with a processor to spare for it; with a digest on
    // every one, reading each file costs less than taking the pages of its mapping.
    const std::uint32_t viewBytes = threads >= std::thread::hardware_concurrency() ? 0 : kDigestViewBytes;
    std::vector<std::wstring> digests(paths.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            digests[i] = fileDigestWithViews(paths[i], viewBytes);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads && t < paths.size(); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // fewer helpers; this thread does the rest
        }
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return digests;
}
