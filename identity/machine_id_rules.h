#pragma once
// How the machine identifier of the setup report is formed from the first network adapter's
// address and the serial numbers of the volumes C:\ and D:\. No Windows services needed.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

using AdapterAddress = std::array<std::uint8_t, 6>;

// The adapter address as 12 upper-case hexadecimal digits.
std::wstring adapterAddressText(const AdapterAddress& address);

// The identifier: a buffer of 13 units, zero at first; the adapter digits (when there are
// any) in units 0-11; each volume serial that is known written low 16 bits first over units
// 2-3 (C:\) and 4-5 (D:\); the text up to the first zero unit, digested with textDigest.
// Empty when the adapter is unknown (unit 0 stays 0).
std::wstring formMachineId(const std::optional<AdapterAddress>& adapter, std::optional<std::uint32_t> serialC,
                           std::optional<std::uint32_t> serialD);
