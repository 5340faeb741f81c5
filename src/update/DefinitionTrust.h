// What the program trusts definitions and translations by: the vendor's
// public key, which the build names (BASTION_DEFINITION_KEY) and nothing
// at run time can change, and the cryptography that checks it. A build
// that names no key takes unsigned answers, as before signing existed.
#pragma once

#include <string>

#include "platform/Crypto.h"

namespace bastion {

struct DefinitionTrust {
    platform::Crypto* crypto = nullptr;
    // The uncompressed P-256 point; empty for a build that names no key.
    std::string publicKey;

    bool Keyed() const { return !publicKey.empty(); }
};

// The key the build names, decoded; empty when it names none. A key that
// does not decode stays non-empty, so that nothing verifies against it.
std::string BuildDefinitionKey();

}  // namespace bastion
