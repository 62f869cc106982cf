#pragma once
// The edge of every COM method our objects implement: no exception may reach the caller (a
// browser, a script engine, XmlLite), so the method's body runs in comBarrier, which turns an
// exception into a failed result.
#include <windows.h>

#include <new>
#include <utility>

// Runs body (returning an HRESULT) and returns its result; E_OUTOFMEMORY when it ran out of
// memory, E_UNEXPECTED when it threw anything else.
template <typename F>
[[nodiscard]] HRESULT comBarrier(F&& body) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
