#include "settings/platform_reg_key.h"

#include <cwchar>
#include <vector>

namespace {

constexpr std::size_t kPathCapacity = 256;
// The longest key name the registry allows, and its terminator.
constexpr DWORD kKeyNameCapacity = 256;

}  // namespace

bool CPlatformRegKey::Open(const wchar_t* product, const wchar_t* section, bool create) {
    key_.reset();
    wchar_t path[kPathCapacity];
    const int length =
        std::swprintf(path, kPathCapacity, L"Software\\%ls\\%ls\\%ls", L"KorvaGamePlatform", product, section);
    if (length < 0 || static_cast<std::size_t>(length) >= kPathCapacity) {
        return false;
    }
    LSTATUS status = ::RegOpenKeyW(HKEY_CURRENT_USER, path, key_.put());
    if (status != ERROR_SUCCESS && create) {
        status = ::RegCreateKeyW(HKEY_CURRENT_USER, path, key_.put());
    }
    if (status != ERROR_SUCCESS) {
        key_.reset();
        return false;
    }
    return true;
}

HKEY CPlatformRegKey::OpenSubKey(const wchar_t* name) const {
    HKEY subKey = nullptr;
    if (!key_ || ::RegOpenKeyW(key_.get(), name, &subKey) != ERROR_SUCCESS) {
        return nullptr;
    }
    return subKey;
}

HKEY CPlatformRegKey::Attach(HKEY key) {
    key_.reset(key);
    return key;
}

bool CPlatformRegKey::EnumSubKey(DWORD index, wchar_t* name, DWORD capacity) const {
    if (name == nullptr || capacity == 0) {
        return false;
    }
    name[0] = L'\0';
    if (!key_) {
        return false;
    }
    return ::RegEnumKeyW(key_.get(), index, name, capacity) == ERROR_SUCCESS;
}

DWORD CPlatformRegKey::QueryDword(const wchar_t* name, DWORD fallback) const {
    if (!key_) {
        return fallback;
    }
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const LSTATUS status = ::RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
        return fallback;
    }
    return value;
}

DWORD CPlatformRegKey::QueryString(const wchar_t* name, wchar_t* buffer, DWORD capacity) const {
    if (!key_ || buffer == nullptr || capacity == 0 || capacity > MAXDWORD / sizeof(wchar_t)) {
        return 0;
    }
    std::vector<wchar_t> data(capacity, L'\0');
    DWORD type = 0;
    DWORD size = capacity * sizeof(wchar_t);
    const LSTATUS status =
        ::RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status != ERROR_SUCCESS || type != REG_SZ) {
        return 0;
    }
    DWORD count = size / sizeof(wchar_t);
    // A value stored without its terminator is terminated here when there is room; one that
    // fills the whole buffer without it would leave the caller an unterminated text.
    if (count == 0 || data[count - 1] != L'\0') {
        if (count >= capacity) {
            return 0;
        }
        data[count++] = L'\0';
    }
    for (DWORD i = 0; i < count; ++i) {
        buffer[i] = data[i];
    }
    return count;
}

bool CPlatformRegKey::DeleteSubKeyTree(const wchar_t* name) const {
    return key_ && deleteRegistryTree(key_.get(), name) == ERROR_SUCCESS;
}

LSTATUS deleteRegistryTree(HKEY parent, const wchar_t* name) {
    UniqueRegKey key;
    const LSTATUS opened = ::RegOpenKeyW(parent, name, key.put());
    if (opened != ERROR_SUCCESS) {
        return opened;
    }
    wchar_t child[kKeyNameCapacity];
    // Index 0 each time: every child is gone once it has been deleted.
    while (::RegEnumKeyW(key.get(), 0, child, kKeyNameCapacity) == ERROR_SUCCESS) {
        const LSTATUS status = deleteRegistryTree(key.get(), child);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    key.reset();
    return ::RegDeleteKeyW(parent, name);
}
