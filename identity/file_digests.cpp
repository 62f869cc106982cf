#include "identity/file_digests.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "common/unique_handle.h"
#include "identity/digest_file.h"
#include "identity/md5_lanes.h"

namespace {

// Each lane reads this much at a time: small enough that the buffers of all lanes stay in the
// processor's caches between being read and being hashed.
constexpr DWORD kLaneReadBytes = 64u << 10;
constexpr std::size_t kBlock = 64;

// One file being digested in one lane.
struct Lane {
    bool busy = false;
    std::size_t index = 0;  // of its path
    UniqueFileHandle file;
    Md5 md5;
    std::unique_ptr<std::uint8_t[]> buffer = std::make_unique<std::uint8_t[]>(kLaneReadBytes + kBlock);
    std::size_t begin = 0;  // the bytes read and not yet hashed
    std::size_t end = 0;
    bool atEnd = false;  // the last read came back short, which for a file is its end

    std::size_t left() const noexcept { return end - begin; }
};

// Digests the files it takes from a shared counter, up to kMd5Lanes of them at a time side by
// side, writing each file's text at its place.
class LaneDigester {
public:
    LaneDigester(const std::vector<std::wstring>& paths, std::vector<std::wstring>& digests,
                 std::atomic<std::size_t>& next, std::size_t width)
        : paths_(paths), digests_(digests), next_(next), lanes_(width) {}

    void run() {
        do {
            for (Lane& lane : lanes_) {
                prepare(lane);
            }
        } while (hashLanes());
    }

private:
    // Brings the lane to a whole block to hash, finishing the files that end before one, or
    // leaves it free once every file is taken.
    void prepare(Lane& lane) {
        for (;;) {
            while (!lane.busy && take(lane)) {
            }
            if (!lane.busy || lane.left() >= kBlock) {
                return;
            }
            if (!lane.atEnd) {
                refill(lane);  // may leave the lane free, when the file cannot be read
            } else {
                finish(lane);
            }
        }
    }

    // Gives the lane the next file; false when there is none left. A file that cannot be
    // opened gets its text at once and leaves the lane free.
    bool take(Lane& lane) {
        const std::size_t index = next_++;
        if (index >= paths_.size()) {
            return false;
        }
        lane.file = openFileToDigest(paths_[index]);
        if (!lane.file) {
            digests_[index] = digestErrorText(kCreateFileErrorFormat, ::GetLastError());
            return true;
        }
        lane.busy = true;
        lane.index = index;
        lane.md5 = Md5();
        lane.begin = lane.end = 0;
        lane.atEnd = false;
        return true;
    }

    // Reads on after the bytes still to hash; a file that cannot be read gets its text.
    void refill(Lane& lane) {
        const std::size_t kept = lane.left();
        std::memmove(lane.buffer.get(), lane.buffer.get() + lane.begin, kept);
        DWORD got = 0;
        if (!::ReadFile(lane.file.get(), lane.buffer.get() + kept, kLaneReadBytes, &got, nullptr)) {
            digests_[lane.index] = digestErrorText(kReadFileErrorFormat, ::GetLastError());
            lane.file.reset();
            lane.busy = false;
            return;
        }
        lane.begin = 0;
        lane.end = kept + got;
        lane.atEnd = got < kLaneReadBytes;
    }

    void finish(Lane& lane) {
        lane.md5.update(lane.buffer.get() + lane.begin, lane.left());
        digests_[lane.index] = digestText(lane.md5.finish());
        lane.file.reset();
        lane.busy = false;
    }

    // Hashes as many whole blocks in every busy lane as the emptiest of them holds; false
    // when no lane is busy, which after prepare means every file is done.
    bool hashLanes() {
        std::array<Md5*, kMd5Lanes> md5s{};
        std::array<const std::uint8_t*, kMd5Lanes> data{};
        std::array<Lane*, kMd5Lanes> busy{};
        std::size_t count = 0;
        std::size_t blocks = SIZE_MAX;
        for (Lane& lane : lanes_) {
            if (lane.busy) {
                md5s[count] = &lane.md5;
                data[count] = lane.buffer.get() + lane.begin;
                busy[count] = &lane;
                blocks = std::min(blocks, lane.left() / kBlock);
                ++count;
            }
        }
        if (count == 0) {
            return false;
        }
        md5UpdateLanes(md5s.data(), data.data(), count, blocks);
        for (std::size_t i = 0; i < count; ++i) {
            busy[i]->begin += blocks * kBlock;
        }
        return true;
    }

    const std::vector<std::wstring>& paths_;
    std::vector<std::wstring>& digests_;
    std::atomic<std::size_t>& next_;
    std::vector<Lane> lanes_;  // at most kMd5Lanes
};

}  // namespace

unsigned digestThreads() {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : (processors < 4 ? processors : 4);
}

std::vector<std::wstring> fileDigests(const std::vector<std::wstring>& paths, unsigned threads) {
    std::vector<std::wstring> digests(paths.size());
    std::atomic<std::size_t> next{0};
    // The files are shared out over the threads first, and each thread takes as many at a
    // time as its share comes to, up to its lanes.
    const std::size_t wanted = std::max<std::size_t>(1, std::min<std::size_t>(threads, paths.size()));
    const std::size_t share = (paths.size() + wanted - 1) / wanted;
    const std::size_t width = std::max<std::size_t>(1, std::min(kMd5Lanes, share));
    std::vector<std::unique_ptr<LaneDigester>> digesters;
    for (std::size_t t = 0; t < wanted; ++t) {
        digesters.push_back(std::make_unique<LaneDigester>(paths, digests, next, width));
    }
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < wanted; ++t) {
        try {
            helpers.emplace_back([&digester = *digesters[t]] { digester.run(); });
        } catch (const std::system_error&) {
            break;  // fewer helpers; this thread does the rest
        }
    }
    digesters[0]->run();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return digests;
}
