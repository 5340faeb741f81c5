#include "update/DefinitionTrust.h"

#include "BuildIdentity.h"
#include "common/Base64.h"

namespace bastion {

std::string BuildDefinitionKey() {
    const std::string_view named = build::kDefinitionKey;
    if (named.empty()) return {};
    return Base64Decode(named).value_or(std::string(named));
}

}  // namespace bastion
