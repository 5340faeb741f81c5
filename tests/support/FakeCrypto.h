// A stand-in for the system's cryptography: a digest that differs for
// different bytes and a "signature" that only the holder of the same key
// bytes can make. Nothing here is secure; it lets the native tests sign
// deltas and check every way the program rejects them.
#pragma once

#include <string>
#include <string_view>

#include "platform/Crypto.h"

namespace bastion::testing {

class FakeCrypto final : public platform::Crypto {
public:
    std::optional<platform::Sha256Digest> Sha256(std::string_view bytes) override;
    bool VerifyP256(std::string_view publicKey, const platform::Sha256Digest& digest,
                    std::string_view signature) override;

    // A public key of the right shape, different for every seed.
    static std::string Key(char seed);
    // The signature of bytes that VerifyP256 accepts for key.
    static std::string Sign(std::string_view key, std::string_view bytes);

    // Every digest asked for.
    int hashes = 0;
};

}  // namespace bastion::testing
