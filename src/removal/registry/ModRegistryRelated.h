// Deleting registry values and keys found by a scan: each one is read
// first (a key with its whole tree), written to a backup file in the
// quarantine folder that the Registry Editor imports and recorded in the
// quarantine's index, then deleted, then tested; a deletion that did not
// take place has its record withdrawn, one that did is logged.
#pragma once

#include <string>

#include "platform/Registry.h"
#include "removal/RemovalResult.h"
#include "removal/quarantine/Quarantine.h"

namespace bastion {

struct RegistryRemoval {
    platform::Registry& registry;
    Quarantine& quarantine;
};

// The location of a registry entry as lists and the index show it:
// "HKEY_CURRENT_USER\Software\X\Value", " (32-bit view)" after it for the
// 32-bit view.
std::string RegistryEntryLocation(platform::Hive hive, const std::string& key, const std::string& value,
                                  platform::RegView view);

// Deletes the value (the key's default value when name is empty). The log
// entry reads "HIVE\key" and the value's name.
RemovalResult DeleteRegistryValue(const RegistryRemoval& removal, platform::Hive hive, const std::string& key,
                                  const std::string& name, platform::RegView view);

// A value Windows needs (WindowsDefaultValue): backed up and recorded as a
// deleted value is, then set to its Windows default instead of deleted. The
// log entry reads as for a deleted value; a restore brings the backed-up
// value back.
RemovalResult SetRegistryValueToDefault(const RegistryRemoval& removal, platform::Hive hive, const std::string& key,
                                        const std::string& name, platform::RegView view,
                                        const platform::RegValue& windowsDefault);

// Deletes the key with its values (the default one included) and subkeys.
// The log entry reads the hive's handle number, "\" and the key, and
// "All Values". Keys that hold a whole part of the system
// (IsGuardedRegistryKey) and the keys of services Windows needs
// (IsServiceWindowsNeeds) are never deleted.
RemovalResult DeleteRegistryKey(const RegistryRemoval& removal, platform::Hive hive, const std::string& key,
                                platform::RegView view);

}  // namespace bastion
