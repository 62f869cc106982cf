// The version file's signature: with release keys built in, the launcher acts only on a list
// that one of them signed, because the list and its digests come over the same plain channel
// as the files they vouch for.
#include <windows.h>

#include <vector>

#include "common/unique_handle.h"
#include "identity/release_signature.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/local_path.h"
#include "update/update_engine.h"

namespace {

// The bytes of a small file; nothing when it cannot be read whole.
std::optional<std::vector<std::uint8_t>> smallFileBytes(const std::wstring& path, std::size_t maxBytes) {
    UniqueFileHandle file(::CreateFileW(extendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::wstring UpdateEngine::listSignaturePath() const {
    return exeDir + L"\\" + std::wstring(kPatchListSignatureName);
}

bool UpdateEngine::patchListSigned() {
    if (releaseKeys.empty()) {
        return true;
    }
    bool signedList = false;
    if (downloadListSignature() == 0) {
        if (const auto signature = smallFileBytes(listSignaturePath(), kMaxListSignatureBytes)) {
            signedList = verifyListSignature(extendedLengthPath(patchListPath()), *signature, releaseKeys) ==
                         SignatureVerdict::Verified;
        }
    }
    (void)deleteFileEvenReadOnly(listSignaturePath());
    if (!signedList) {
        (void)deleteFileEvenReadOnly(patchListPath());
    }
    return signedList;
}
