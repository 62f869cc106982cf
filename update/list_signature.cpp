// The version file's signature: with release keys built in, the launcher acts only on a list
// that one of them signed, because the list and its digests come over the same plain channel
// as the files they vouch for.
#include <windows.h>

#include "identity/release_signature.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/local_path.h"
#include "update/update_engine.h"

std::wstring UpdateEngine::listSignaturePath() const {
    return exeDir + L"\\" + std::wstring(kPatchListSignatureName);
}

bool UpdateEngine::patchListSigned() {
    if (releaseKeys.empty()) {
        return true;
    }
    bool signedList = false;
    if (downloadListSignature() == 0) {
        if (const std::optional<std::string> signature = readSmallFile(listSignaturePath(), kMaxListSignatureBytes)) {
            const ByteSpan der(reinterpret_cast<const std::uint8_t*>(signature->data()), signature->size());
            signedList = verifyListSignature(extendedLengthPath(patchListPath()), der, releaseKeys) ==
                         SignatureVerdict::Verified;
        }
    }
    (void)deleteFileEvenReadOnly(listSignaturePath());
    if (!signedList) {
        (void)deleteFileEvenReadOnly(patchListPath());
    }
    return signedList;
}
