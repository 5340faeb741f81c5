// The registry scan: each definition of "RegistryDefinition.dat" names a key
// or a value; existing ones are reported and queued for removal.
#pragma once

#include <string>

#include "platform/Registry.h"
#include "scan/ScanContext.h"

namespace bastion {

void ScanRegistryDefinitions(ScanContext& context);

// Existence tests, with read access: a key the user may read but not change
// (any machine-wide key without administrative rights) still exists.
bool RegKeyExists(platform::Registry& registry, platform::Hive hive, const std::string& key);
bool RegValueExists(platform::Registry& registry, platform::Hive hive, const std::string& key,
                    const std::string& value);

}  // namespace bastion
