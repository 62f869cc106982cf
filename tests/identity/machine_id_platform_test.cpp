#include "identity/machine_id.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

// On the platform the identifier is either empty (no NetBIOS adapter, as under Wine) or 32
// upper-case hexadecimal digits, and the same on every call.
TEST(MachineIdPlatform, IsStableAndWellFormed) {
    const std::wstring first = machineId();
    EXPECT_EQ(machineId(), first);
    if (!first.empty()) {
        ASSERT_EQ(first.size(), 32u);
        for (wchar_t c : first) {
            EXPECT_TRUE(std::iswdigit(c) || (c >= L'A' && c <= L'F'));
        }
    }
    std::wstring address = L"untouched";
    if (adapterAddressHex(address)) {
        EXPECT_EQ(address.size(), 12u);
        EXPECT_FALSE(first.empty());
    } else {
        EXPECT_EQ(address, L"untouched");
        EXPECT_TRUE(first.empty());
    }
}

}  // namespace
