// Registry entries as read before a deletion: one value, or a key with its
// whole tree, each value with its type and raw data. What a backup file
// holds and what a restore writes back.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bastion {

struct SnapshotValue {
    std::string name;  // empty: the key's default value
    platform::RegValue value;
};

struct SnapshotKey {
    // Below the hive, as the backup names it.
    std::string path;
    std::vector<SnapshotValue> values;
};

struct RegistrySnapshot {
    platform::Hive hive = platform::Hive::CurrentUser;
    // A key before its subkeys.
    std::vector<SnapshotKey> keys;
};

// The key at path in the view, with every value and every subkey below
// it; false when the key or anything in it cannot be read.
bool ReadKeyTree(platform::Registry& registry, platform::Hive hive, const std::string& path,
                 platform::RegView view, RegistrySnapshot& snapshot);

// One value of the key; false when it cannot be read.
bool ReadOneValue(platform::Registry& registry, platform::Hive hive, const std::string& path,
                  const std::string& name, platform::RegView view, RegistrySnapshot& snapshot);

// Writes every key (created when missing) and value back, with its type and
// data byte for byte, in the view; false when any write failed.
bool ApplySnapshot(platform::Registry& registry, const RegistrySnapshot& snapshot,
                   platform::RegView view = platform::RegView::Default);

// The path through which a program that sees the 64-bit view (the Registry
// Editor) reaches the key that path names in view: a key of the 32-bit view
// lies below a "Wow6432Node" key there. The path itself when both views
// share the key, or when the registry cannot tell.
std::string PathSeenBy64BitView(platform::Registry& registry, platform::Hive hive, const std::string& path,
                                platform::RegView view);

}  // namespace bastion
