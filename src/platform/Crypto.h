// The cryptography the program trusts its definitions by: SHA-256 and the
// check of an ECDSA P-256 signature. The definition server signs what it
// sends with the vendor's private key; the program holds the public key.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace bastion::platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

// The uncompressed P-256 point: 0x04, then X and Y, 32 bytes each.
inline constexpr std::size_t kP256PublicKeySize = 65;
// r then s, 32 bytes each, big-endian.
inline constexpr std::size_t kP256SignatureSize = 64;

class Crypto {
public:
    virtual ~Crypto() = default;

    // nullopt when the system cannot hash.
    virtual std::optional<Sha256Digest> Sha256(std::string_view bytes) = 0;
    // Whether signature is a valid ECDSA signature of the digest by the
    // key. A key or signature of the wrong size or shape is no match.
    virtual bool VerifyP256(std::string_view publicKey, const Sha256Digest& digest, std::string_view signature) = 0;
};

// Whether signature is the key's ECDSA P-256 signature, with SHA-256, of
// exactly these bytes.
bool VerifySignedBytes(Crypto& crypto, std::string_view publicKey, std::string_view bytes, std::string_view signature);

}  // namespace bastion::platform
