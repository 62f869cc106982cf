#include "identity/file_digest.h"

#include <windows.h>

#include <condition_variable>
#include <cwchar>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "common/unique_handle.h"
#include "identity/md5.h"

namespace {

std::wstring errorText(const wchar_t* format, DWORD code) {
    wchar_t text[64];
    std::swprintf(text, 64, format, static_cast<int>(code));
    return text;
}

struct View {
    UniqueMappedView data;
    SIZE_T length = 0;
};

// Maps the views of a file one after another, in order, and touches every page of each, on a
// thread of its own. Taking a mapped page costs about as much as hashing it; this way the
// faults of the next views are taken while the current one is hashed.
class ViewPrefetcher {
public:
    ViewPrefetcher(HANDLE mapping, std::uint64_t total, std::uint32_t viewBytes)
        : mapping_(mapping), total_(total), viewBytes_(viewBytes), thread_([this] { produce(); }) {}
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
        for (std::uint64_t offset = 0; offset < total_;) {
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

// Hashes the file through views mapped ahead on a second thread. False with error set when
// a view cannot be mapped.
bool hashPrefetched(HANDLE mapping, std::uint64_t total, std::uint32_t viewBytes, Md5& md5, DWORD& error) {
    ViewPrefetcher views(mapping, total, viewBytes);
    for (std::uint64_t done = 0; done < total;) {
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

// Files up to this size are read, not mapped: mapping one costs several more calls into the
// system than reading it, which on an installation of thousands of small files dominates.
constexpr std::uint64_t kReadUpTo = 8u << 20;
constexpr DWORD kReadBytes = 256u << 10;

bool hashRead(HANDLE file, std::uint64_t total, Md5& md5, DWORD& error) {
    // One buffer per thread: a fresh one per file costs more than reading a small file.
    thread_local std::vector<char> buffer(kReadBytes);
    for (std::uint64_t done = 0; done < total;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (got == 0) {
            break;  // shorter than it was a moment ago: what is there is digested
        }
        md5.update(buffer.data(), got);
        done += got;
    }
    return true;
}

bool hashInline(HANDLE mapping, std::uint64_t total, std::uint32_t viewBytes, Md5& md5, DWORD& error) {
    for (std::uint64_t offset = 0; offset < total;) {
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

}  // namespace

std::wstring fileDigest(const std::wstring& path) {
    return fileDigestWithViews(path, kDigestViewBytes);
}

std::wstring fileDigestWithViews(const std::wstring& path, std::uint32_t viewBytes) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return errorText(L"CreateFile Error ( code:%d )!", ::GetLastError());
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        return errorText(L"CreateFile Error ( code:%d )!", ::GetLastError());
    }

    Md5 md5;
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    DWORD error = 0;
    // An empty file has a digest like any other (it cannot be mapped).
    if (total <= kReadUpTo || viewBytes == 0) {
        if (!hashRead(file.get(), total, md5, error)) {
            return errorText(L"ReadFile Error ( code:%d )!", error);
        }
        return digestText(md5.finish());
    }
    UniqueKernelHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) {
        return errorText(L"CreateFileMapping Error ( code:%d )!", ::GetLastError());
    }
    bool hashed = false;
    if (total >= kPrefetchFrom && viewBytes >= kPrefetchViewBytes) {
        try {
            hashed = hashPrefetched(mapping.get(), total, kPrefetchViewBytes, md5, error);
        } catch (const std::system_error&) {
            // No second thread to be had: hash on this one alone, from the start.
            md5 = Md5();
            hashed = hashInline(mapping.get(), total, viewBytes, md5, error);
        }
    } else {
        hashed = hashInline(mapping.get(), total, viewBytes, md5, error);
    }
    if (!hashed) {
        return errorText(L"MapViewOfFile Error ( code:%d )!", error);
    }
    return digestText(md5.finish());
}
