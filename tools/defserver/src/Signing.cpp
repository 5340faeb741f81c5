#include "Signing.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/pem.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "common/Base64.h"

namespace defserver {

namespace {

constexpr std::size_t kHalf = 32;

// Owners of what OpenSSL hands out.
struct Free {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    void operator()(ECDSA_SIG* signature) const { ECDSA_SIG_free(signature); }
    void operator()(BIGNUM* number) const { BN_free(number); }
    void operator()(OSSL_PARAM_BLD* builder) const { OSSL_PARAM_BLD_free(builder); }
    void operator()(OSSL_PARAM* params) const { OSSL_PARAM_free(params); }
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
    void operator()(std::FILE* file) const { std::fclose(file); }
};
template <typename T>
using Owned = std::unique_ptr<T, Free>;

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

bool IsP256(EVP_PKEY* key) {
    char group[64] = {};
    std::size_t length = 0;
    return EVP_PKEY_get_utf8_string_param(key, OSSL_PKEY_PARAM_GROUP_NAME, group, sizeof(group), &length) == 1 &&
           std::string_view(group, length) == "prime256v1";
}

}  // namespace

std::unique_ptr<Signer> Signer::Load(const std::string& pemPath, std::string& error) {
    const Owned<std::FILE> file(std::fopen(pemPath.c_str(), "rb"));
    if (!file) {
        error = "cannot read the key " + pemPath;
        return nullptr;
    }
    Owned<EVP_PKEY> key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
    if (!key || !IsP256(key.get())) {
        error = pemPath + " holds no P-256 private key";
        return nullptr;
    }
    return std::unique_ptr<Signer>(new Signer(key.release()));
}

std::unique_ptr<Signer> Signer::Generate(const std::string& pemPath, std::string& error) {
    if (std::filesystem::exists(pemPath)) {
        error = pemPath + " exists already; it is not overwritten";
        return nullptr;
    }
    Owned<EVP_PKEY> key(EVP_EC_gen("P-256"));
    if (!key) {
        error = "cannot make a key pair";
        return nullptr;
    }
    // Created readable by its owner only, before the key is in it.
    const mode_t previous = ::umask(077);
    Owned<std::FILE> file(std::fopen(pemPath.c_str(), "wx"));
    ::umask(previous);
    if (!file || PEM_write_PrivateKey(file.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
        std::fflush(file.get()) != 0) {
        error = "cannot write the key to " + pemPath;
        return nullptr;
    }
    return std::unique_ptr<Signer>(new Signer(key.release()));
}

Signer::~Signer() { EVP_PKEY_free(key_); }

std::string Signer::Sign(std::string_view bytes) const {
    const Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
    std::size_t length = 0;
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key_) != 1 ||
        EVP_DigestSign(context.get(), nullptr, &length, Bytes(bytes), bytes.size()) != 1) {
        return {};
    }
    std::string der(length, '\0');
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(der.data()), &length, Bytes(bytes),
                       bytes.size()) != 1) {
        return {};
    }
    // OpenSSL writes the pair as DER; the program takes r and s as they are.
    const unsigned char* at = Bytes(der);
    const Owned<ECDSA_SIG> pair(d2i_ECDSA_SIG(nullptr, &at, static_cast<long>(length)));
    if (!pair) return {};
    std::string raw(2 * kHalf, '\0');
    auto* out = reinterpret_cast<unsigned char*>(raw.data());
    if (BN_bn2binpad(ECDSA_SIG_get0_r(pair.get()), out, kHalf) != static_cast<int>(kHalf) ||
        BN_bn2binpad(ECDSA_SIG_get0_s(pair.get()), out + kHalf, kHalf) != static_cast<int>(kHalf)) {
        return {};
    }
    return raw;
}

std::string Signer::PublicKey() const {
    unsigned char point[65] = {};
    std::size_t length = 0;
    if (EVP_PKEY_get_octet_string_param(key_, OSSL_PKEY_PARAM_PUB_KEY, point, sizeof(point), &length) != 1) return {};
    return std::string(reinterpret_cast<const char*>(point), length);
}

bool VerifySignature(std::string_view publicKey, std::string_view bytes, std::string_view signature) {
    if (publicKey.size() != 65 || signature.size() != 2 * kHalf) return false;
    const Owned<OSSL_PARAM_BLD> builder(OSSL_PARAM_BLD_new());
    if (!builder || OSSL_PARAM_BLD_push_utf8_string(builder.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1", 0) != 1 ||
        OSSL_PARAM_BLD_push_octet_string(builder.get(), OSSL_PKEY_PARAM_PUB_KEY, publicKey.data(), publicKey.size()) !=
            1) {
        return false;
    }
    const Owned<OSSL_PARAM> params(OSSL_PARAM_BLD_to_param(builder.get()));
    const Owned<EVP_PKEY_CTX> fromData(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
    EVP_PKEY* made = nullptr;
    if (!params || !fromData || EVP_PKEY_fromdata_init(fromData.get()) != 1 ||
        EVP_PKEY_fromdata(fromData.get(), &made, EVP_PKEY_PUBLIC_KEY, params.get()) != 1) {
        return false;
    }
    const Owned<EVP_PKEY> key(made);
    Owned<ECDSA_SIG> pair(ECDSA_SIG_new());
    BIGNUM* r = BN_bin2bn(Bytes(signature), kHalf, nullptr);
    BIGNUM* s = BN_bin2bn(Bytes(signature) + kHalf, kHalf, nullptr);
    if (!pair || !r || !s || ECDSA_SIG_set0(pair.get(), r, s) != 1) {
        BN_free(r);
        BN_free(s);
        return false;
    }
    unsigned char* der = nullptr;
    const int length = i2d_ECDSA_SIG(pair.get(), &der);
    if (length <= 0) return false;
    const Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
    const bool valid = context && EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
                       EVP_DigestVerify(context.get(), der, static_cast<std::size_t>(length), Bytes(bytes),
                                        bytes.size()) == 1;
    OPENSSL_free(der);
    return valid;
}

std::string WithSignature(const Signer& signer, const std::string& bytes) {
    return bytes + "[BR]SIGNATURE|" + bastion::Base64Encode(signer.Sign(bytes));
}

}  // namespace defserver
