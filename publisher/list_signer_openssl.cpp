// Signing with OpenSSL's libcrypto.
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "publisher/list_signer.h"

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const noexcept { EVP_PKEY_free(key); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const noexcept { EVP_MD_CTX_free(context); }
};
struct FileClose {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using UniqueKey = std::unique_ptr<EVP_PKEY, KeyFree>;

// The reason of OpenSSL's last failure, and none left queued for the next.
std::string cryptoError() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) {
        return "unknown reason";
    }
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

// A pass phrase is never asked for, since the publisher runs unattended; the key is then
// known to be encrypted.
extern "C" int noPassphrase(char*, int, int, void* asked) {
    *static_cast<bool*>(asked) = true;
    return -1;
}

class OpenSslSigner : public ListSigner {
public:
    explicit OpenSslSigner(UniqueKey key) : key_(std::move(key)) {}

    bool sign(std::string_view bytes, std::string& signature, std::string& error) const override {
        std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
        std::size_t length = 0;
        if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key_.get()) != 1 ||
            EVP_DigestSign(context.get(), nullptr, &length, reinterpret_cast<const unsigned char*>(bytes.data()),
                           bytes.size()) != 1) {
            error = "cannot sign the list: " + cryptoError();
            return false;
        }
        std::string der(length, '\0');
        if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(der.data()), &length,
                           reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1) {
            error = "cannot sign the list: " + cryptoError();
            return false;
        }
        der.resize(length);
        signature = std::move(der);
        return true;
    }

private:
    UniqueKey key_;
};

}  // namespace

std::unique_ptr<ListSigner> loadListSigner(const std::filesystem::path& keyFile, std::string& error) {
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(keyFile.c_str(), "rb"));
    if (!file) {
        error = std::string("cannot open it: ") + std::strerror(errno);
        return nullptr;
    }
    ERR_clear_error();
    bool encrypted = false;
    UniqueKey key(PEM_read_PrivateKey(file.get(), nullptr, noPassphrase, &encrypted));
    if (!key) {
        const std::string reason = cryptoError();
        error = encrypted
                    ? "the key is encrypted; the publisher runs unattended and reads unencrypted keys only"
                    : "it holds no PEM private key (openssl ecparam -name prime256v1 -genkey writes one): " + reason;
        return nullptr;
    }
    char curve[64] = {};
    std::size_t curveLength = 0;
    if (EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_EC ||
        EVP_PKEY_get_group_name(key.get(), curve, sizeof curve, &curveLength) != 1 ||
        std::strcmp(curve, "prime256v1") != 0) {
        ERR_clear_error();
        error = std::string("it is not an ECDSA key on the curve P-256 (prime256v1)") +
                (curve[0] != '\0' ? std::string(" but on ") + curve : std::string()) +
                "; launchers verify P-256 signatures only";
        return nullptr;
    }
    return std::make_unique<OpenSslSigner>(std::move(key));
}
