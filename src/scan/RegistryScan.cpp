#include "scan/RegistryScan.h"

namespace bastion {

// Placeholder until the registry scan lands.
void ScanRegistryDefinitions(ScanContext&) {}
bool RegKeyExists(platform::Registry&, platform::Hive, const std::string&) { return false; }
bool RegValueExists(platform::Registry&, platform::Hive, const std::string&, const std::string&) { return false; }

}  // namespace bastion
