#pragma once
// Owners of the handles of CNG (bcrypt.dll): algorithm providers, keys and hashes.
#include <windows.h>

#include <bcrypt.h>

#include "common/unique_handle.h"

struct CngAlgorithmTraits {
    using pointer = BCRYPT_ALG_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::BCryptCloseAlgorithmProvider(value, 0); }
};

struct CngKeyTraits {
    using pointer = BCRYPT_KEY_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::BCryptDestroyKey(value); }
};

struct CngHashTraits {
    using pointer = BCRYPT_HASH_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::BCryptDestroyHash(value); }
};

using UniqueCngAlgorithm = UniqueHandle<CngAlgorithmTraits>;
using UniqueCngKey = UniqueHandle<CngKeyTraits>;
using UniqueCngHash = UniqueHandle<CngHashTraits>;

// NTSTATUS values CNG answers with.
inline constexpr bool cngSucceeded(NTSTATUS status) noexcept {
    return status >= 0;
}
