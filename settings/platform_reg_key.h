#pragma once
// One open key under HKEY_CURRENT_USER\Software\KorvaGamePlatform\, owned. The launcher only
// reads values, enumerates subkeys and deletes whole subkeys; the lobby client writes them.
#include <windows.h>

#include <cstdint>

#include "common/unique_handle.h"

class CPlatformRegKey {
public:
    CPlatformRegKey() = default;
    CPlatformRegKey(const CPlatformRegKey&) = delete;
    CPlatformRegKey& operator=(const CPlatformRegKey&) = delete;
    virtual ~CPlatformRegKey() = default;

    // Opens "Software\KorvaGamePlatform\<product>\<section>" (section may hold "\") after
    // closing the key held; creates it when it is missing and create is true. The composed path
    // must stay below 256 characters. True when the key is held.
    [[nodiscard]] bool Open(const wchar_t* product, const wchar_t* section, bool create);
    // Opens a direct subkey of the held key; the caller owns the handle (give it to Attach).
    // Null on failure.
    [[nodiscard]] HKEY OpenSubKey(const wchar_t* name) const;
    // Takes ownership of key (the key held before is closed) and returns it.
    HKEY Attach(HKEY key);
    // Empties name, then reads the name of the subkey at index. False past the last subkey or
    // on any error.
    [[nodiscard]] bool EnumSubKey(DWORD index, wchar_t* name, DWORD capacity) const;
    // The stored REG_DWORD, or fallback when the value is missing, of another type or size.
    [[nodiscard]] DWORD QueryDword(const wchar_t* name, DWORD fallback) const;
    // Reads a REG_SZ value of at most capacity characters (terminator included) into buffer and
    // returns the characters written, terminator included; 0 on failure, buffer untouched.
    [[nodiscard]] DWORD QueryString(const wchar_t* name, wchar_t* buffer, DWORD capacity) const;
    // Deletes the named subkey with everything below it. True when all of it is gone.
    [[nodiscard]] bool DeleteSubKeyTree(const wchar_t* name) const;

    HKEY get() const noexcept { return key_.get(); }

private:
    UniqueRegKey key_;
};

// The recursive deletion behind DeleteSubKeyTree: deletes name under parent and all below it.
// Returns the first registry error met (ERROR_SUCCESS when everything was deleted); the key and
// the children not reached yet stay.
LSTATUS deleteRegistryTree(HKEY parent, const wchar_t* name);
