#pragma once
// The public keys of the operator's release signing, built into the launcher from the PEM
// files named by the build setting LOBBEX_RELEASE_KEY. With none, lists are not signed.
#include <span>

#include "identity/ecdsa_p256.h"

std::span<const P256PublicKey> builtInReleaseKeys() noexcept;
