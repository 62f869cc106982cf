#include "identity/machine_id.h"

#include <windows.h>
#include <nb30.h>

#include <cstring>
#include <optional>

#include "identity/machine_id_rules.h"

namespace {

// The status NCBASTAT fills in: the adapter status record and up to 16 names (348 bytes).
struct AdapterStatusBuffer {
    ADAPTER_STATUS status;
    NAME_BUFFER names[16];
};
static_assert(sizeof(AdapterStatusBuffer) == 348);

std::optional<AdapterAddress> firstAdapterAddress() {
    NCB ncb;
    std::memset(&ncb, 0, sizeof ncb);
    LANA_ENUM adapters;
    std::memset(&adapters, 0, sizeof adapters);

    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&adapters);
    ncb.ncb_length = sizeof adapters;
    if (::Netbios(&ncb) != NRC_GOODRET || adapters.length == 0) {
        return std::nullopt;
    }

    ncb.ncb_command = NCBRESET;
    ncb.ncb_lana_num = adapters.lana[0];
    if (::Netbios(&ncb) != NRC_GOODRET) {
        return std::nullopt;
    }

    AdapterStatusBuffer status;
    std::memset(&status, 0, sizeof status);
    ncb.ncb_command = NCBASTAT;
    ncb.ncb_lana_num = adapters.lana[0];
    std::memset(ncb.ncb_callname, 0, sizeof ncb.ncb_callname);
    ncb.ncb_callname[0] = '*';
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&status);
    ncb.ncb_length = sizeof status;
    if (::Netbios(&ncb) != NRC_GOODRET) {
        return std::nullopt;
    }
    AdapterAddress address;
    std::memcpy(address.data(), status.status.adapter_address, address.size());
    return address;
}

std::optional<std::uint32_t> volumeSerial(const wchar_t* root) {
    DWORD serial = 0;
    if (!::GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        return std::nullopt;
    }
    return serial;
}

}  // namespace

bool adapterAddressHex(std::wstring& text) {
    const std::optional<AdapterAddress> address = firstAdapterAddress();
    if (!address) {
        return false;
    }
    text = adapterAddressText(*address);
    return true;
}

std::wstring machineId() {
    return formMachineId(firstAdapterAddress(), volumeSerial(L"C:\\"), volumeSerial(L"D:\\"));
}
