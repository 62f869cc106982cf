#pragma once
// One move-only owner for every kind of Windows handle. A traits type names the handle
// type, the value that means "none" and how to release it.
#include <windows.h>

template <typename Traits>
class UniqueHandle {
public:
    using pointer = typename Traits::pointer;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(pointer value) noexcept : value_(value) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    pointer get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without releasing.
    pointer release() noexcept {
        pointer value = value_;
        value_ = Traits::invalid();
        return value;
    }
    void reset(pointer value = Traits::invalid()) noexcept {
        if (value_ != Traits::invalid()) {
            Traits::close(value_);
        }
        value_ = value;
    }
    // Releases what is held and hands out the address for an out-parameter.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

private:
    pointer value_ = Traits::invalid();
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::CloseHandle(value); }
};

// File handles use INVALID_HANDLE_VALUE for "none".
struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer value) noexcept { ::CloseHandle(value); }
};

struct MappedViewTraits {
    using pointer = const void*;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::UnmapViewOfFile(value); }
};

struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer value) noexcept { ::FindClose(value); }
};

struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::RegCloseKey(value); }
};

using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
