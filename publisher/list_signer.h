#pragma once
// Signs the version list with the operator's private key: ECDSA on the curve P-256 over the
// SHA-256 of the list's bytes, written in DER exactly as `openssl dgst -sha256 -sign` writes
// it, so that an operator can sign by hand as well.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// The signature's name beside the list.
inline constexpr std::string_view kListSignatureFileName = "patchlist.dat.sig";

class ListSigner {
public:
    virtual ~ListSigner() = default;
    // The DER signature of bytes; false with error when signing fails.
    [[nodiscard]] virtual bool sign(std::string_view bytes, std::string& signature, std::string& error) const = 0;
};

// The signer of a PEM file holding an unencrypted EC private key on P-256, as
// `openssl ecparam -name prime256v1 -genkey` writes it. Nothing, with error saying why, for
// any other file or key.
std::unique_ptr<ListSigner> loadListSigner(const std::filesystem::path& keyFile, std::string& error);
