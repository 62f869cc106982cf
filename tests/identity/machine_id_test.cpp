#include "identity/machine_id_rules.h"

#include <gtest/gtest.h>

#include "identity/text_digest.h"

namespace {

const AdapterAddress kAdapter = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

TEST(MachineId, FormsTheIdentifierFromAdapterAndVolumes) {
    EXPECT_EQ(adapterAddressText(kAdapter), L"001A2B3C4D5E");
    // Units 0030 0030 ABCD 1234 0D0C 0F0E 0033 0043 0034 0044 0035 0045.
    EXPECT_EQ(formMachineId(kAdapter, 0x1234ABCDu, 0x0F0E0D0Cu), L"34AD0FB3F36271EB8099716C4FD261BF");
}

TEST(MachineId, EdgeCases) {
    struct Case {
        const char* what;
        std::optional<AdapterAddress> adapter;
        std::optional<std::uint32_t> serialC, serialD;
        std::wstring identifierText;  // digested with textDigest; empty gives the empty identifier
    };
    const Case cases[] = {
        {"no adapter", std::nullopt, 0x1234ABCDu, 0x0F0E0D0Cu, L""},
        {"no D: volume: the adapter digits stay",
         kAdapter,
         0x1234ABCDu,
         std::nullopt,
         {L'0', L'0', wchar_t(0xABCD), wchar_t(0x1234), L'2', L'B', L'3', L'C', L'4', L'D', L'5', L'E'}},
        {"no volumes at all", kAdapter, std::nullopt, std::nullopt, L"001A2B3C4D5E"},
        {"a C: serial with a zero low half ends the text", kAdapter, 0x12340000u, 0x0F0E0D0Cu, L"00"},
        {"a D: serial with a zero high half ends the text",
         kAdapter,
         0x1234ABCDu,
         0x00000D0Cu,
         {L'0', L'0', wchar_t(0xABCD), wchar_t(0x1234), wchar_t(0x0D0C)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring id = formMachineId(c.adapter, c.serialC, c.serialD);
        EXPECT_EQ(id, textDigest(c.identifierText));
        EXPECT_TRUE(id.empty() || id.size() == 32u);
    }
    // The zero-low-half case digests 2 bytes: the first digit and a zero byte.
    EXPECT_EQ(formMachineId(kAdapter, 0x12340000u, 0x0F0E0D0Cu), L"A46C3B54F2C9871CD81DAF7A932499C0");
}

}  // namespace
