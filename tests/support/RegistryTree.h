// A key's whole tree as comparable data, for tests that take registry
// entries away and put them back: each key (by its path below the root) and
// each value with its type and raw bytes.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "removal/registry/RegistrySnapshot.h"

namespace bastion::testing {

using RegistryTree =
    std::map<std::pair<std::string, std::string>, std::pair<platform::RegType, std::vector<std::uint8_t>>>;

// Empty when the key cannot be read. A key without values shows as the
// name "(key)" with no data.
inline RegistryTree ReadRegistryTree(platform::Registry& registry, platform::Hive hive, const std::string& path,
                                     platform::RegView view) {
    RegistrySnapshot snapshot;
    RegistryTree tree;
    if (!ReadKeyTree(registry, hive, path, view, snapshot)) return tree;
    const std::size_t root = snapshot.keys.empty() ? 0 : snapshot.keys.front().path.size();
    for (const SnapshotKey& key : snapshot.keys) {
        tree[{key.path.substr(root), "(key)"}] = {platform::RegType::None, {}};
        for (const SnapshotValue& value : key.values) {
            tree[{key.path.substr(root), value.name}] = {value.value.type, value.value.bytes};
        }
    }
    return tree;
}

// The UTF-16 little-endian bytes of the text, every unit of the view
// (NULs inside and at the end included).
inline std::vector<std::uint8_t> WideBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

}  // namespace bastion::testing
