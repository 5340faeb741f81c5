// SHA-256 and the ECDSA P-256 check through Windows' own cryptography (CNG).
#pragma once

#include "platform/Crypto.h"

namespace bastion::win32 {

class Win32Crypto final : public platform::Crypto {
public:
    std::optional<platform::Sha256Digest> Sha256(std::string_view bytes) override;
    bool VerifyP256(std::string_view publicKey, const platform::Sha256Digest& digest,
                    std::string_view signature) override;
};

}  // namespace bastion::win32
