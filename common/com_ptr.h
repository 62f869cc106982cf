#pragma once
// The move-only owner of one reference to a COM interface, released when the owner lets it go.
// The COM counterpart of UniqueHandle (common/unique_handle.h): get(), release(), reset() and
// put() mean the same there and here.
#include <windows.h>
#include <unknwn.h>

template <typename T>
class ComPtr;

// Asks `from` for interface U; empty when from is null or does not have it. U needs a uuid
// (the system's interfaces declare one).
template <typename U>
ComPtr<U> comAs(IUnknown* from) noexcept;

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller holds (one a factory or an out-parameter handed out).
    explicit ComPtr(T* value) noexcept : value_(value) {}
    // Takes a reference of its own to an interface someone else keeps.
    static ComPtr retain(T* value) noexcept {
        if (value != nullptr) {
            value->AddRef();
        }
        return ComPtr(value);
    }
    ComPtr(ComPtr&& other) noexcept : value_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* get() const noexcept { return value_; }
    T* operator->() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != nullptr; }

    // Gives up ownership without releasing.
    T* release() noexcept {
        T* value = value_;
        value_ = nullptr;
        return value;
    }
    // The owner lets go of its reference before releasing it, so that code the last Release
    // runs finds the owner already empty (or holding the new value).
    void reset(T* value = nullptr) noexcept {
        T* old = value_;
        value_ = value;
        if (old != nullptr) {
            old->Release();
        }
    }
    // Releases what is held and hands out the address for an out-parameter.
    T** put() noexcept {
        reset();
        return &value_;
    }
    // put() for the calls that take void** (CoCreateInstance, QueryInterface).
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    // Another interface of the same object, with a reference of its own; empty when the object
    // does not have it or the owner is empty.
    template <typename U>
    ComPtr<U> as() const noexcept {
        return comAs<U>(value_);
    }

private:
    T* value_ = nullptr;
};

template <typename U>
ComPtr<U> comAs(IUnknown* from) noexcept {
    ComPtr<U> result;
    if (from != nullptr && FAILED(from->QueryInterface(__uuidof(U), result.putVoid()))) {
        // A failed query hands out no reference, whatever it left in the out-parameter.
        result.release();
    }
    return result;
}
