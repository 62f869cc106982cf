#pragma once
#include <string>

// The 12-digit address of the first network adapter NetBIOS enumerates; false (and text
// untouched) when there is none or a NetBIOS command fails.
bool adapterAddressHex(std::wstring& text);

// The machine identifier of the setup report: 32 upper-case hexadecimal digits, or the empty
// text when the adapter address cannot be read. Computed afresh on every call.
std::wstring machineId();
