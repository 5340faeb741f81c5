// SHA-256 and the ECDSA P-256 check through Windows' own cryptography (CNG).
#pragma once

#include <cstddef>
#include <functional>

#include "platform/Crypto.h"

namespace bastion::win32 {

class Win32Crypto final : public platform::Crypto {
public:
    std::optional<platform::Sha256Digest> Sha256(std::string_view bytes) override;
    bool VerifyP256(std::string_view publicKey, const platform::Sha256Digest& digest,
                    std::string_view signature) override;
};

// The SHA-256 of the pieces read gives one after the other: it fills the
// buffer and returns how much it put there, 0 at the end, nullopt when
// reading failed (then there is no digest).
std::optional<platform::Sha256Digest> Sha256OfPieces(
    char* buffer, std::size_t size, const std::function<std::optional<std::size_t>(char*, std::size_t)>& read);

}  // namespace bastion::win32
