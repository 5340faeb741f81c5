// SHA-256 in portable C++ for the native fakes, so that content
// definitions can be tested with the digests the real system computes.
#pragma once

#include <string_view>

#include "platform/Crypto.h"

namespace bastion::testing {

platform::Sha256Digest PortableSha256(std::string_view bytes);

}  // namespace bastion::testing
