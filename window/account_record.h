#pragma once
#include <cstdint>

// One account the lobby client remembers on this computer.
struct AccountRecord {
    wchar_t keyName[16] = {};  // its key under UserInfo, as it was read ("007" stays "007")
    std::int32_t userId = 0;   // 0 once the account is forgotten
    wchar_t gameId[16] = {};
    wchar_t account[32] = {};
    wchar_t password[33] = {};  // empty when not remembered
};

// What the registration form collected; the lobby client receives it after a registration.
struct RegistrationData {
    wchar_t account[32] = {};
    wchar_t nickname[32] = {};
    wchar_t password[33] = {};
    std::uint8_t gender = 0;  // 1 male
};
