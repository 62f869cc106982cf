#pragma once
// Writes the chunks of a body to a file (and hashes them) while the next chunk is read from
// the network. The first megabyte is written at once on the calling thread, so that small
// files cost no thread; after it a thread of its own does the writing.
#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "identity/md5.h"

class WriteBehind {
public:
    // Writes at the file's position; hashes what it writes into hash when given.
    WriteBehind(HANDLE file, Md5* hash) : file_(file), hash_(hash) {}
    ~WriteBehind() { (void)finish(); }
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // A buffer of at least bytes to read the next chunk into; waits while every buffer is
    // queued for writing.
    std::vector<char> freeBuffer(std::size_t bytes);
    // Hands over the first used bytes of a buffer to be written; false when a write has failed.
    [[nodiscard]] bool write(std::vector<char> buffer, std::size_t used);
    // Waits until everything handed over is written: ERROR_SUCCESS, or the error of the first
    // write that failed (nothing after it is written).
    [[nodiscard]] DWORD finish();

private:
    struct Chunk {
        std::vector<char> bytes;
        std::size_t used = 0;
    };
    // Writes one chunk; the error, or ERROR_SUCCESS.
    DWORD writeChunk(const Chunk& chunk);
    void writerLoop();

    static constexpr std::size_t kBuffers = 3;
    static constexpr std::uint64_t kInlineBytes = 1u << 20;

    const HANDLE file_;
    Md5* const hash_;
    std::uint64_t inlineWritten_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> queued_;
    std::vector<std::vector<char>> spare_;
    std::size_t buffers_ = 0;  // made so far
    DWORD error_ = ERROR_SUCCESS;
    bool finishing_ = false;
    std::thread writer_;
};
