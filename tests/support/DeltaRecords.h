// Delta records as the definition server sends them, for tests of the update.
#pragma once

#include <string>

#include "definitions/DefinitionCodec.h"

namespace bastion::testing {

// A record: the kind and the body shifted, the body's "|" and "=" plain.
inline std::string DeltaRecord(const std::string& kind, const std::string& action, const std::string& body) {
    std::string sent;
    for (char c : body) sent += (c == '|' || c == '=') ? std::string(1, c) : EncodeDefinitionText(std::string(1, c));
    return EncodeDefinitionText(kind) + "|" + action + "[DEF]" + sent;
}

}  // namespace bastion::testing
