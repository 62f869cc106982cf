#include "identity/machine_id_rules.h"

#include "identity/text_digest.h"

std::wstring adapterAddressText(const AdapterAddress& address) {
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring text;
    for (std::uint8_t byte : address) {
        text.push_back(hex[byte >> 4]);
        text.push_back(hex[byte & 0x0F]);
    }
    return text;
}

std::wstring formMachineId(const std::optional<AdapterAddress>& adapter, std::optional<std::uint32_t> serialC,
                           std::optional<std::uint32_t> serialD) {
    std::uint16_t units[13] = {};
    if (adapter) {
        const std::wstring digits = adapterAddressText(*adapter);
        for (std::size_t i = 0; i < 12; ++i) {
            units[i] = static_cast<std::uint16_t>(digits[i]);
        }
    }
    if (serialC) {
        units[2] = static_cast<std::uint16_t>(*serialC & 0xFFFF);
        units[3] = static_cast<std::uint16_t>(*serialC >> 16);
    }
    if (serialD) {
        units[4] = static_cast<std::uint16_t>(*serialD & 0xFFFF);
        units[5] = static_cast<std::uint16_t>(*serialD >> 16);
    }
    std::wstring text;
    for (std::size_t i = 0; i < 12 && units[i] != 0; ++i) {
        text.push_back(static_cast<wchar_t>(units[i]));
    }
    return textDigest(text);
}
