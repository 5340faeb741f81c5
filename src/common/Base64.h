// Base64 with the standard alphabet and "=" padding, as the definition key
// and the signatures of the definition server are written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bastion {

std::string Base64Encode(std::string_view bytes);

// The bytes of a whole base64 text; nullopt for any character outside the
// alphabet, a length that is not a multiple of four or padding that is not
// at the end. Nothing is skipped: a signature is either read whole or not.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace bastion
