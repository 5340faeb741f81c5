#include "support/FakeCrypto.h"

#include <cstdint>

namespace bastion::testing {

namespace {

platform::Sha256Digest Digest(std::string_view bytes) {
    platform::Sha256Digest digest{};
    for (std::size_t part = 0; part < 4; ++part) {
        std::uint64_t hash = 0xcbf29ce484222325ull + part * 0x9E3779B97F4A7C15ull;
        for (char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 0x100000001b3ull;
        for (std::size_t i = 0; i < 8; ++i) digest[part * 8 + i] = static_cast<std::uint8_t>(hash >> (8 * i));
    }
    return digest;
}

std::string SignDigest(std::string_view key, const platform::Sha256Digest& digest) {
    std::string signature(platform::kP256SignatureSize, '\0');
    for (std::size_t i = 0; i < signature.size(); ++i) {
        signature[i] = static_cast<char>(digest[i % digest.size()] ^ static_cast<std::uint8_t>(key[1 + i]));
    }
    return signature;
}

}  // namespace

std::optional<platform::Sha256Digest> FakeCrypto::Sha256(std::string_view bytes) {
    ++hashes;
    return Digest(bytes);
}

bool FakeCrypto::VerifyP256(std::string_view publicKey, const platform::Sha256Digest& digest,
                            std::string_view signature) {
    return publicKey.size() == platform::kP256PublicKeySize && publicKey[0] == 0x04 &&
           signature == SignDigest(publicKey, digest);
}

std::string FakeCrypto::Key(char seed) {
    std::string key(platform::kP256PublicKeySize, '\0');
    key[0] = 0x04;
    for (std::size_t i = 1; i < key.size(); ++i) key[i] = static_cast<char>(seed * 31 + static_cast<int>(i) * 7);
    return key;
}

std::string FakeCrypto::Sign(std::string_view key, std::string_view bytes) { return SignDigest(key, Digest(bytes)); }

}  // namespace bastion::testing
