// The registry scan: each definition of "RegistryDefinition.dat" names a key
// or a value; existing ones are detections. Where 64-bit Windows keeps
// 32-bit programs' keys apart (the machine's Software key, the classes
// keys), both views are looked in, and each find names the view it was
// found in.
#pragma once

#include <string>

#include "platform/Registry.h"
#include "scan/ScanContext.h"

namespace bastion {

void ScanRegistryDefinitions(ScanContext& context);

// Existence tests in one registry view, with read access: a key the user
// may read but not change (any machine-wide key without administrative
// rights) still exists.
bool RegKeyExists(platform::Registry& registry, platform::Hive hive, const std::string& key,
                  platform::RegView view = platform::RegView::Default);
bool RegValueExists(platform::Registry& registry, platform::Hive hive, const std::string& key,
                    const std::string& value, platform::RegView view = platform::RegView::Default);

}  // namespace bastion
