#include "platform/Crypto.h"

namespace bastion::platform {

bool VerifySignedBytes(Crypto& crypto, std::string_view publicKey, std::string_view bytes, std::string_view signature) {
    if (publicKey.size() != kP256PublicKeySize || signature.size() != kP256SignatureSize) return false;
    const std::optional<Sha256Digest> digest = crypto.Sha256(bytes);
    return digest && crypto.VerifyP256(publicKey, *digest, signature);
}

}  // namespace bastion::platform
