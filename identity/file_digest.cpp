#include "identity/file_digest.h"

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <cwchar>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "common/unique_handle.h"
#include "identity/digest_file.h"
#include "identity/md5.h"

namespace {

struct View {
    UniqueMappedView data;
    SIZE_T length = 0;
};

// Maps the views of a file one after another, in order, and touches every page of each, on a
// thread of its own. Taking a mapped page costs about as much as hashing it; this way the
// faults of the next views are taken while the current one is hashed.
class ViewPrefetcher {
public:
    ViewPrefetcher(HANDLE mapping, std::uint64_t offset, std::uint64_t total, std::uint32_t viewBytes)
        : mapping_(mapping), offset_(offset), total_(total), viewBytes_(viewBytes), thread_([this] { produce(); }) {}
    ~ViewPrefetcher() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    ViewPrefetcher(const ViewPrefetcher&) = delete;
    ViewPrefetcher& operator=(const ViewPrefetcher&) = delete;

    // Hands a hashed view back: it is unmapped on the prefetching thread, off the hashing one.
    void recycle(View view) {
        std::lock_guard<std::mutex> lock(mutex_);
        used_.push_back(std::move(view));
        changed_.notify_all();
    }

    // The next view; an empty one with error() set when a view could not be mapped.
    View next() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || error_ != 0; });
        if (ready_.empty()) {
            return {};
        }
        View view = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return view;
    }
    DWORD error() {
        std::lock_guard<std::mutex> lock(mutex_);
        return error_;
    }

private:
    static constexpr std::size_t kAhead = 4;

    void produce() noexcept {
        try {
            produceViews();
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex_);
            error_ = ERROR_NOT_ENOUGH_MEMORY;
            changed_.notify_all();
        }
    }

    void produceViews() {
        for (std::uint64_t offset = offset_; offset < total_;) {
            std::deque<View> used;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kAhead || stopping_; });
                if (stopping_) {
                    return;
                }
                used.swap(used_);
            }
            used.clear();
            View view;
            const std::uint64_t left = total_ - offset;
            view.length = static_cast<SIZE_T>(left < viewBytes_ ? left : viewBytes_);
            view.data.reset(::MapViewOfFile(mapping_, FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                                            static_cast<DWORD>(offset), view.length));
            if (!view.data) {
                const DWORD code = ::GetLastError();
                std::lock_guard<std::mutex> lock(mutex_);
                error_ = code ? code : ERROR_NOT_ENOUGH_MEMORY;
                changed_.notify_all();
                return;
            }
            auto* bytes = static_cast<const volatile unsigned char*>(view.data.get());
            for (SIZE_T i = 0; i < view.length; i += 4096) {
                (void)bytes[i];
            }
            offset += view.length;
            std::lock_guard<std::mutex> lock(mutex_);
            ready_.push_back(std::move(view));
            changed_.notify_all();
        }
    }

    HANDLE mapping_;
    std::uint64_t offset_;
    std::uint64_t total_;
    std::uint32_t viewBytes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<View> ready_;
    std::deque<View> used_;
    DWORD error_ = 0;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once everything it uses exists
};

// Files are read up to this size, and only a larger one is mapped beyond it: mapping costs
// several more calls into the system than reading, which on an installation of thousands of
// small files dominates.
constexpr std::uint64_t kReadUpTo = 8u << 20;
constexpr DWORD kReadBytes = 256u << 10;
static_assert(kReadUpTo % kReadBytes == 0 && kReadUpTo % (64u << 10) == 0, "the mapped rest starts on a view boundary");

enum class ReadEnd { EndOfFile, Limit, Failed };

// Reads and hashes from the start until a read comes back short, which for a file is its
// end, or until `limit` bytes are read; `done` counts the bytes hashed.
ReadEnd hashRead(HANDLE file, std::uint64_t limit, Md5& md5, std::uint64_t& done, DWORD& error) {
    // One buffer per thread: a fresh one per file costs more than reading a small file.
    thread_local std::vector<char> buffer(kReadBytes);
    while (done < limit) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer.data(), kReadBytes, &got, nullptr)) {
            error = ::GetLastError();
            return ReadEnd::Failed;
        }
        md5.update(buffer.data(), got);
        done += got;
        if (got < kReadBytes) {
            return ReadEnd::EndOfFile;
        }
    }
    return ReadEnd::Limit;
}

// Hashes the file from `offset` to `total` through views mapped ahead on a second thread.
// False with error set when a view cannot be mapped.
bool hashPrefetched(HANDLE mapping, std::uint64_t offset, std::uint64_t total, std::uint32_t viewBytes, Md5& md5,
                    DWORD& error) {
    ViewPrefetcher views(mapping, offset, total, viewBytes);
    for (std::uint64_t done = offset; done < total;) {
        View view = views.next();
        if (!view.data) {
            error = views.error();
            return false;
        }
        md5.update(view.data.get(), view.length);
        done += view.length;
        views.recycle(std::move(view));
    }
    return true;
}

bool hashInline(HANDLE mapping, std::uint64_t offset, std::uint64_t total, std::uint32_t viewBytes, Md5& md5,
                DWORD& error) {
    while (offset < total) {
        const std::uint64_t left = total - offset;
        const SIZE_T length = static_cast<SIZE_T>(left < viewBytes ? left : viewBytes);
        UniqueMappedView view(::MapViewOfFile(mapping, FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                                              static_cast<DWORD>(offset), length));
        if (!view) {
            error = ::GetLastError();
            return false;
        }
        md5.update(view.get(), length);
        offset += length;
    }
    return true;
}

// Below this size a second thread costs more than it saves.
constexpr std::uint64_t kPrefetchFrom = 4u << 20;
constexpr std::uint32_t kPrefetchViewBytes = 4u << 20;

// Hashes the file from `offset` (a multiple of the allocation granularity) to its end
// through mapped views.
std::wstring hashMappedRest(HANDLE file, std::uint64_t offset, std::uint64_t total, std::uint32_t viewBytes, Md5& md5) {
    UniqueKernelHandle mapping(::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) {
        return digestErrorText(L"CreateFileMapping Error ( code:%d )!", ::GetLastError());
    }
    DWORD error = 0;
    bool hashed = false;
    if (total - offset >= kPrefetchFrom && viewBytes >= kPrefetchViewBytes) {
        const Md5 start = md5;
        try {
            hashed = hashPrefetched(mapping.get(), offset, total, kPrefetchViewBytes, md5, error);
        } catch (const std::system_error&) {
            // No second thread to be had: hash on this one alone, from where the reading ended.
            md5 = start;
            hashed = hashInline(mapping.get(), offset, total, viewBytes, md5, error);
        }
    } else {
        hashed = hashInline(mapping.get(), offset, total, viewBytes, md5, error);
    }
    if (!hashed) {
        return digestErrorText(L"MapViewOfFile Error ( code:%d )!", error);
    }
    return digestText(md5.finish());
}

}  // namespace

UniqueFileHandle openFileToDigest(const std::wstring& path) noexcept {
    return UniqueFileHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

std::wstring digestErrorText(const wchar_t* format, DWORD code) {
    wchar_t text[64];
    std::swprintf(text, 64, format, static_cast<int>(code));
    return text;
}

std::wstring fileDigest(const std::wstring& path) {
    return fileDigestWithViews(path, kDigestViewBytes);
}

std::wstring fileDigestWithViews(const std::wstring& path, std::uint32_t viewBytes) {
    UniqueFileHandle file = openFileToDigest(path);
    if (!file) {
        return digestErrorText(kCreateFileErrorFormat, ::GetLastError());
    }
    // Most files end within the first reads, which find the end themselves: only a file that
    // is still going at the threshold is asked for its size, and the rest of it is mapped.
    Md5 md5;
    const std::uint64_t readUpTo = viewBytes == 0 ? UINT64_MAX : kReadUpTo;
    std::uint64_t done = 0;
    DWORD error = 0;
    switch (hashRead(file.get(), readUpTo, md5, done, error)) {
        case ReadEnd::Failed:
            return digestErrorText(kReadFileErrorFormat, error);
        case ReadEnd::EndOfFile:
            return digestText(md5.finish());
        case ReadEnd::Limit:
            break;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        return digestErrorText(kReadFileErrorFormat, ::GetLastError());
    }
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    if (total <= done) {
        return digestText(md5.finish());  // ends right at the threshold (or shrank meanwhile)
    }
    return hashMappedRest(file.get(), done, total, viewBytes, md5);
}
